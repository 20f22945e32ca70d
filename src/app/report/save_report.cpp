#include "app/report/save_report.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "app/core/settings_source.h"
#include "app/diagnostics/diagnostics_page.h"
#include "app/pages/show_settings.h"
#include "app/pages/sim_rules.h"
#include "app/shell/navigation.h"
#include "files/file_io.h"
#include "files/settings_file.h"

namespace zelar {

namespace {

constexpr const char* kCaption = "Отчёт о настройке";
constexpr const char* kFilter = "Отчёт HTML (*.html)|*.html|Отчёт PDF (*.pdf)|*.pdf";

void message(App& app, const std::string& text, MessageIcon icon) {
    app.services.dialogs.messageBox(text, kCaption, icon, MessageButtons::Ok);
}

}  // namespace

bool isPdfName(const std::string& path) {
    constexpr std::string_view kPdf = ".pdf";
    if (path.size() < kPdf.size())
        return false;
    return std::equal(
        kPdf.begin(), kPdf.end(), path.end() - static_cast<long>(kPdf.size()),
        [](char a, char b) { return std::tolower(static_cast<unsigned char>(b)) == a; });
}

ReportSaveResult saveHandoverReport(App& app, HandoverRequest request, const std::string& path,
                                    const PdfWriter& pdf) {
    if (request.source == ReportSource::Modem) {
        if (!mayReportSettings(app))
            return ReportSaveResult::Refused;
        request.faultsRead = BitBtnReadErrorClick(app);
    }
    const std::string html = handoverHtml(handoverReport(app, request));
    const bool asPdf = isPdfName(path);
    const std::string failure = asPdf && !pdf
                                    ? "Этот выпуск программы не пишет PDF: сохраните отчёт как HTML"
                                    : writeFileReplacing(path, asPdf ? pdf(html) : html);
    if (!failure.empty()) {
        message(app, failure, MessageIcon::Error);
        return ReportSaveResult::Failed;
    }
    if (request.source == ReportSource::Modem && !request.faultsRead)
        return ReportSaveResult::Failed;
    if (request.source == ReportSource::Modem)
        archiveVisit(app, archive::VisitOperation::Report, path);
    message(app, kTextReportSaved, MessageIcon::Information);
    return ReportSaveResult::Saved;
}

bool showFileForReport(App& app, std::string_view bytes, const std::string& name,
                       HandoverRequest& request) {
    SettingsFileContent content;
    if (bytes.size() > kSettingsFileLimit || !parseSettingsFile(bytes, content))
        return false;
    showSettingsFromFile(app, content.image, content.autoDetect);
    request.source = ReportSource::File;
    request.sourceName = name;
    request.fileSerialNumber = content.serialNumber;
    request.fileSoftVersion = content.softVersion;
    return true;
}

bool mayReportSettings(App& app) {
    if (app.link.busy())
        return false;
    if (!app.settingsRead)
        message(app, kTextReadSettingsFirst, MessageIcon::Error);
    return app.settingsRead;
}

ReportSaveResult reportSettingsClick(App& app, HandoverRequest request, const PdfWriter& pdf) {
    if (!mayReportSettings(app))
        return ReportSaveResult::Refused;
    const auto path = app.services.dialogs.saveFileName(kFilter, ".html", "Отчёт о настройке.html");
    if (!path)
        return ReportSaveResult::Cancelled;
    // With a settings file open the report is the file's: no modem is asked for its faults.
    if (app.source.file) {
        request.source = ReportSource::File;
        request.sourceName = settingsFileName(app.source);
        request.fileSerialNumber = app.source.serialNumber;
        request.fileSoftVersion = app.source.softVersion;
    } else {
        request.source = ReportSource::Modem;
        request.sourceName = app.main.ComboBox1.text;
    }
    request.createdAt = app.services.localTime();
    return saveHandoverReport(app, std::move(request), *path, pdf);
}

}  // namespace zelar
