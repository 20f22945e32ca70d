#include "app/report/handover_report.h"
#include "text/html_text.h"

namespace zelar {

namespace {

constexpr const char* kTitle = "Отчёт о настройке GSM-модема Зелар-2";
constexpr const char* kInstallerSigns = "Монтажник: ____________________";
constexpr const char* kClientSigns = "Заказчик: ____________________";

// Plain enough for the PDF writer's HTML (tables, borders, sizes, colours), and A4 in a browser.
constexpr const char* kStyle = R"(@page { size: A4; margin: 15mm; }
body { font-family: "DejaVu Sans", Arial, sans-serif; font-size: 10pt; color: #000; }
h1 { font-size: 14pt; margin: 0 0 8pt 0; }
h2 { font-size: 11.5pt; margin: 12pt 0 4pt 0; page-break-after: avoid; }
table { border-collapse: collapse; width: 100%; page-break-inside: avoid; }
td { border: 1px solid #888; padding: 2pt 5pt; vertical-align: top; }
td.caption { width: 45%; background-color: #eeeeee; }
table.heading td { border: none; padding: 1pt 5pt 1pt 0; }
table.heading td.caption { width: 25%; background-color: transparent; font-weight: bold; }
p.note { font-style: italic; margin: 3pt 0 0 0; }
p.signatures { margin-top: 24pt; }
)";

// The caption column's width is given as an attribute too: the PDF writer's HTML takes no
// width from a style.
void rows(std::string& out, const std::vector<ReportRow>& rows, const char* tableClass,
          const char* captionWidth) {
    out += std::string("<table class=\"") + tableClass +
           "\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">\n";
    for (const ReportRow& row : rows) {
        out += std::string("<tr><td class=\"caption\" width=\"") + captionWidth + "\">" +
               htmlText(row.caption) + "</td><td>" + htmlText(row.value) + "</td></tr>\n";
    }
    out += "</table>\n";
}

}  // namespace

std::string handoverHtml(const HandoverReport& report) {
    std::string out =
        "<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
    out += kTitle;
    out += "</title>\n<style>\n";
    out += kStyle;
    out += "</style>\n</head>\n<body>\n<h1>";
    out += kTitle;
    out += "</h1>\n";
    rows(out, report.heading, "heading", "25%");
    for (const ReportPart& part : report.parts) {
        out += "<h2>" + htmlText(part.title) + "</h2>\n";
        if (!part.rows.empty())
            rows(out, part.rows, "values", "45%");
        if (!part.note.empty())
            out += "<p class=\"note\">" + htmlText(part.note) + "</p>\n";
    }
    out += std::string("<p>&nbsp;</p>\n<p class=\"signatures\">") + kInstallerSigns +
           " &nbsp;&nbsp;&nbsp; " + kClientSigns + "</p>\n</body>\n</html>\n";
    return out;
}

}  // namespace zelar
