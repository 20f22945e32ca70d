#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "app/report/handover_report.h"

namespace zelar {

// The bytes of a PDF document that sets the report's HTML on A4 pages: the front end's own, as
// the logic has no means to set type.
using PdfWriter = std::function<std::string(const std::string& html)>;

// Whether the file named is to be a PDF: its name ends in ".pdf", in any case.
bool isPdfName(const std::string& path);

// How saving a report ended.
enum class ReportSaveResult {
    Cancelled,  // the file dialog was cancelled
    Refused,    // another operation held the link, or nothing was read: a message said which
    Failed,     // the file was not written: a message said why
    Saved,
};

inline constexpr const char* kTextReportSaved = "Отчёт о настройке сохранён";

// Saves the report of what the window holds at `path`, written whole, as HTML or, for a ".pdf"
// name, as `pdf` sets it (without one, a ".pdf" name is refused). From a modem the fault flags and
// the signal level are read first, as "Считать" in " Неисправности " does; a failed read leaves the
// report saying so and fails the save after the file is written (the read's own message told why).
ReportSaveResult saveHandoverReport(App& app, HandoverRequest request, const std::string& path,
                                    const PdfWriter& pdf);

// A settings file's values on the pages, as "Считать настройки из файла" puts them there,
// and the request made a report of the file named `name`; false, with nothing changed, when the
// bytes are no settings file.
bool showFileForReport(App& app, std::string_view bytes, const std::string& name,
                       HandoverRequest& request);

// Whether the window may make a report now: not while an operation holds the link, and only
// once the modem was read (a message says so otherwise). The window asks before its dialog.
bool mayReportSettings(App& app);

// "Отчёт о настройке…" once its dialog was answered: asks where to save the report (HTML or
// PDF) and saves the report of the modem on the selected port there.
ReportSaveResult reportSettingsClick(App& app, HandoverRequest request, const PdfWriter& pdf);

}  // namespace zelar
