#include "commands.h"
#include "report_output.h"
#include "settings_report.h"

namespace zelar::cli {

int runRead(CliSession& session, const CliOptions& options) {
    if (options.port.empty())
        return badArguments("read needs --port COMn");
    if (!options.files.empty())
        return badArguments("read takes no file");
    Report report;
    report.withState = options.state;
    if (!session.start())
        return printReport(session, options, report, 1);
    session.showProgress();
    const bool ok = session.readAndLogIn();
    // A failed read leaves only the blank form, which tells nothing.
    if (session.app().settingsRead)
        addSettingsReport(report, session.app());
    return printReport(session, options, report, ok ? 0 : 1);
}

}  // namespace zelar::cli
