#pragma once

#include <optional>
#include <string>
#include <vector>

#include "forms/controls.h"

namespace zelar {

inline constexpr const char* kReportTitle = "Отчёт о настройке GSM-модема Зелар-2";
inline constexpr const char* kReportInstallerSigns = "Монтажник: ____________________";
inline constexpr const char* kReportClientSigns = "Заказчик: ____________________";
// What a value the modem did not give says in place of the value.
inline constexpr const char* kNotRead = "не считано";

// A caption and its value, or one value a column for a part laid out in columns.
struct ReportRow {
    std::string caption;
    std::vector<std::string> values;
};

// A part of the report: its title, the heading of each value column when it has several (the
// six users side by side), its rows, a note under them and the signal meter's chart.
struct ReportPart {
    std::string title;
    std::vector<std::string> columns;
    std::vector<ReportRow> rows;
    std::string note;  // said under the rows: what the part cannot show, and why
    std::optional<LevelChart> chart;
};

// The document as data: a heading (date, installer, site, source) and the parts, in the order
// of the window's pages. The HTML and the PDF are both set from it.
struct HandoverReport {
    std::vector<ReportRow> heading;
    std::vector<ReportPart> parts;
};

}  // namespace zelar
