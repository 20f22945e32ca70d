#include <iostream>

#include "app/report/save_report.h"
#include "commands.h"
#include "file_checks.h"
#include "files/file_io.h"
#include "files/settings_file.h"
#include "ui/pdf_document.h"

namespace zelar::cli {

namespace {

bool isReportName(const std::string& path) {
    for (const std::string_view end : {".html", ".htm", ".HTML", ".HTM"}) {
        if (path.size() > end.size() && path.ends_with(end))
            return true;
    }
    return isPdfName(path);
}

}  // namespace

int runReport(CliSession& session, const CliOptions& options) {
    const bool fromFile = !options.settingsFile.empty();
    if (fromFile == !options.port.empty())
        return badArguments(
            "report needs --port COMn --user N --password XXXX, or --file FILE.md2");
    if (!fromFile && !options.user)
        return badArguments("report from a modem needs --user N --password XXXX");
    if (fromFile && options.user)
        return badArguments("report --file takes no login: the file shows every page");
    if (options.files.size() != 1 || !isReportName(options.files.front()))
        return badArguments("report needs one OUTPUT.html or OUTPUT.pdf");

    HandoverRequest request;
    request.installer = options.installer;
    request.site = options.site;
    request.withSecrets = options.withSecrets;
    request.sourceName = options.port;
    if (fromFile) {
        if (!session.start())
            return 1;
        const auto bytes = readFileUpTo(options.settingsFile, kSettingsFileLimit);
        if (!bytes || !showFileForReport(session.app(), *bytes, options.settingsFile, request)) {
            refuseAsNoSettingsFile(options.settingsFile);
            return 2;
        }
    } else if (!session.startAndLogIn()) {
        return 1;
    }
    // A report that could not read everything is written all the same, and says so.
    const ReportWriters writers{ui::pdfFromReport, {}};
    return saveHandoverReport(session.app(), request, options.files.front(), writers) ==
                   ReportSaveResult::Saved
               ? 0
               : 1;
}

}  // namespace zelar::cli
