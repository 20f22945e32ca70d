#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/report/handover_report.h"
#include "platform/profile.h"

namespace zelar {

// What the front end gives the report, as the logic has no means to set type or draw.
struct ReportWriters {
    // The bytes of a PDF document of the report on A4 pages; without it a ".pdf" name is refused.
    std::function<std::string(const HandoverReport& report)> pdf;
    // The signal meter's chart as a PNG picture for the HTML page; without it the page has none.
    ChartPicture chartPicture;
};

// Whether the file named is to be a PDF: its name ends in ".pdf", in any case.
bool isPdfName(const std::string& path);

// How saving a report ended.
enum class ReportSaveResult {
    Cancelled,    // the report dialog was cancelled
    Refused,      // another operation held the link, or nothing was read: a message said which
    Failed,       // the file was not written: a message said why
    Saved,        // written, everything read
    SavedUnread,  // written, with values the modem did not give marked kNotRead: a message said so
};

inline constexpr const char* kTextReportSaved = "Отчёт о настройке сохранён";
// Where the installer's name is kept between visits, beside the main window's keys.
inline constexpr const char* kProfileReportSection = "Report";
inline constexpr const char* kProfileReportInstaller = "Installer";

// Saves the report of what the window holds at `path`, written whole, as HTML or, for a ".pdf"
// name, as the PDF writer sets it, dated now the Russian way. From a modem the fault flags and
// the signal level are read first, as "Считать" in " Неисправности " does. The last message says
// the one outcome: saved, saved with what the modem did not give named, or not saved and why.
ReportSaveResult saveHandoverReport(App& app, HandoverRequest request, const std::string& path,
                                    const ReportWriters& writers);

// A settings file's values on the pages, as "Считать настройки из файла" puts them there,
// and the request made a report of the file named `name`; false, with nothing changed, when the
// bytes are no settings file.
bool showFileForReport(App& app, std::string_view bytes, const std::string& name,
                       HandoverRequest& request);

// Whether the window may make a report now: not while an operation holds the link, and only
// once the modem was read (a message says so otherwise).
bool mayReportSettings(App& app);

// The report dialog: shows `given` (the installer's name, the site, the secrets box) and returns
// what the user gave, or nothing when he cancelled it.
using ReportDialogAsk = std::function<std::optional<HandoverRequest>(const HandoverRequest& given)>;

// "Отчёт о настройке…": the dialog, filled with the installer's name of the last report (kept
// in `profile` when there is one), then where to save the report (HTML or PDF); a cancelled file
// dialog brings the dialog back as it was answered. Saves the report of the modem on the
// selected port, or of the settings file open.
ReportSaveResult reportSettingsClick(App& app, Profile* profile, const ReportDialogAsk& ask,
                                     const ReportWriters& writers);

}  // namespace zelar
