#include "app/report/handover_report.h"
#include "text/base64.h"
#include "text/html_text.h"

namespace zelar {

namespace {

// Plain enough for any browser's print to A4; the PDF is set from the same document by the front
// end, not from this page.
constexpr const char* kStyle = R"(@page { size: A4; margin: 15mm; }
body { font-family: "DejaVu Sans", Arial, sans-serif; font-size: 10pt; color: #000; }
h1 { font-size: 14pt; margin: 0 0 8pt 0; }
h2 { font-size: 11.5pt; margin: 12pt 0 4pt 0; page-break-after: avoid; break-after: avoid; }
table { border-collapse: collapse; width: 100%; }
tr { page-break-inside: avoid; break-inside: avoid; }
thead { display: table-header-group; }
th, td { border: 1px solid #888; padding: 2pt 5pt; vertical-align: top; text-align: left; }
th { background-color: #dddddd; }
td.caption { width: 45%; background-color: #eeeeee; }
table.columns td.caption { width: 28%; }
table.heading td { border: none; padding: 1pt 5pt 1pt 0; }
table.heading td.caption { width: 25%; background-color: transparent; font-weight: bold; }
p.note { font-style: italic; margin: 3pt 0 0 0; }
img.chart { width: 100%; max-width: 170mm; margin-top: 4pt; border: 1px solid #888; }
p.signatures { margin-top: 24pt; }
)";

constexpr const char* kChartName = "График уровня сигнала";

void rows(std::string& out, const ReportPart& part, const char* tableClass) {
    out += std::string("<table class=\"") + tableClass + "\">\n";
    if (!part.columns.empty()) {
        out += "<thead><tr><th></th>";
        for (const std::string& column : part.columns)
            out += "<th>" + htmlText(column) + "</th>";
        out += "</tr></thead>\n";
    }
    for (const ReportRow& row : part.rows) {
        out += "<tr><td class=\"caption\">" + htmlText(row.caption) + "</td>";
        for (const std::string& value : row.values)
            out += "<td>" + htmlText(value) + "</td>";
        out += "</tr>\n";
    }
    out += "</table>\n";
}

}  // namespace

std::string handoverHtml(const HandoverReport& report, const ChartPicture& picture) {
    std::string out =
        "<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
    out += kReportTitle;
    out += "</title>\n<style>\n";
    out += kStyle;
    out += "</style>\n</head>\n<body>\n<h1>";
    out += kReportTitle;
    out += "</h1>\n";
    rows(out, {{}, {}, report.heading, {}, {}}, "heading");
    for (const ReportPart& part : report.parts) {
        out += "<section>\n<h2>" + htmlText(part.title) + "</h2>\n";
        if (!part.rows.empty())
            rows(out, part, part.columns.empty() ? "values" : "values columns");
        if (part.chart && picture)
            out += std::string("<img class=\"chart\" alt=\"") + kChartName +
                   "\" src=\"data:image/png;base64," + base64(picture(*part.chart)) + "\">\n";
        if (!part.note.empty())
            out += "<p class=\"note\">" + htmlText(part.note) + "</p>\n";
        out += "</section>\n";
    }
    out += std::string("<p class=\"signatures\">") + kReportInstallerSigns +
           " &nbsp;&nbsp;&nbsp; " + kReportClientSigns + "</p>\n</body>\n</html>\n";
    return out;
}

}  // namespace zelar
