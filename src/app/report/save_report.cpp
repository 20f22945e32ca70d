#include "app/report/save_report.h"

#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

#include "app/core/settings_source.h"
#include "app/diagnostics/diagnostics_page.h"
#include "app/pages/show_settings.h"
#include "app/pages/sim_rules.h"
#include "app/shell/navigation.h"
#include "files/file_io.h"
#include "files/settings_file.h"
#include "platform/local_time.h"

namespace zelar {

namespace {

constexpr const char* kCaption = "Отчёт о настройке";
constexpr const char* kFilter = "Отчёт HTML (*.html)|*.html|Отчёт PDF (*.pdf)|*.pdf";

void message(App& app, const std::string& text, MessageIcon icon) {
    app.services.dialogs.messageBox(text, kCaption, icon, MessageButtons::Ok);
}

// What the report marks kNotRead, as the closing message names it.
std::vector<std::string> unreadParts(const App& app, const HandoverRequest& request) {
    std::vector<std::string> parts;
    if (request.source == ReportSource::File)
        return parts;
    if (!request.faultsRead)
        parts.emplace_back("неисправности и уровень сигнала");
    if (app.voiceCallUnread && mayOpenNode(app, kNodeVoiceCall))
        parts.emplace_back("голосовой вызов");
    return parts;
}

std::string savedUnreadText(const std::vector<std::string>& parts) {
    std::string list;
    for (const std::string& part : parts)
        list += (list.empty() ? "" : ", ") + part;
    return std::string(kTextReportSaved) + ", но не всё в нём считано с модема: " + list +
           ". В отчёте они отмечены «" + kNotRead + "».";
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
                                    const ReportWriters& writers) {
    if (request.source == ReportSource::Modem) {
        if (!mayReportSettings(app))
            return ReportSaveResult::Refused;
        request.faultsRead = BitBtnReadErrorClick(app);
    }
    request.createdAt = russianLocalTime();
    const HandoverReport report = handoverReport(app, request);
    const bool asPdf = isPdfName(path);
    const std::string failure =
        asPdf && !writers.pdf
            ? "Этот выпуск программы не пишет PDF: сохраните отчёт как HTML"
            : writeFileReplacing(
                  path, asPdf ? writers.pdf(report) : handoverHtml(report, writers.chartPicture));
    if (!failure.empty()) {
        message(app, failure, MessageIcon::Error);
        return ReportSaveResult::Failed;
    }
    const std::vector<std::string> unread = unreadParts(app, request);
    if (request.source == ReportSource::Modem)
        archiveVisit(app, archive::VisitOperation::Report, path);
    if (!unread.empty()) {
        message(app, savedUnreadText(unread), MessageIcon::Warning);
        return ReportSaveResult::SavedUnread;
    }
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

ReportSaveResult reportSettingsClick(App& app, Profile* profile, const ReportDialogAsk& ask,
                                     const ReportWriters& writers) {
    if (!mayReportSettings(app))
        return ReportSaveResult::Refused;
    HandoverRequest request;
    if (profile != nullptr)
        request.installer = profile->readText(kProfileReportSection, kProfileReportInstaller, "");
    std::optional<std::string> path;
    while (!path) {
        auto answer = ask(request);
        if (!answer)
            return ReportSaveResult::Cancelled;
        request = std::move(*answer);
        if (profile != nullptr && profile->createFolder())
            profile->writeText(kProfileReportSection, kProfileReportInstaller, request.installer);
        path = app.services.dialogs.saveFileName(kFilter, ".html", "Отчёт о настройке.html");
    }
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
    return saveHandoverReport(app, std::move(request), *path, writers);
}

}  // namespace zelar
