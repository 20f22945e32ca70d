#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "app/report/handover_report.h"
#include "escaping_buffer.h"
#include "provision/provision_report.h"
#include "provision/provision_steps.h"
#include "provision/provision_view.h"
#include "report.h"
#include "report_output.h"

// Values from the modem or a file in each output form: the text keeps one control a line, the
// JSON parses and carries them, the CSV opens in a spreadsheet as text, the HTML shows them as
// text.
namespace zelar::cli {
namespace {

using namespace std::string_literals;

// DEL, ESC, BEL, a line feed, a tab, a NUL, U+0085 (a C1 control) and Cyrillic, as the modem's
// Windows-1251 bytes reach the report once decoded.
const std::string kOdd = "a\x7F\x1B\x07\n\t\0b\xC2\x85Жz"s;

Report oddReport() {
    Report report;
    report.section("modem").push_back({"EditSim1APN", kOdd});
    report.section("identification").push_back({"EditIMEI", "IMEI: 35\n69"});
    return report;
}

// What reaches stdout, through the escaping that main puts in front of it.
template <typename Write>
std::string printed(Write write) {
    std::ostringstream stdoutFile;
    {
        const EscapedStream escaped(stdoutFile);
        write(stdoutFile);
    }
    return stdoutFile.str();
}

TEST(OutputEscaping, EachFormEscapesByItsOwnRules) {
    const std::string text = printed([](std::ostream& out) { printReportText(out, oddReport()); });
    EXPECT_EQ(text,
              "[modem]\nEditSim1APN: a\\x7F\\x1B\\x07\\x0A\\x09\\x00b\\u0085Жz\n"
              "[identification]\nEditIMEI: IMEI: 35\\x0A69\n");

    const std::string json = printed([](std::ostream& out) {
        writeUnescaped(out, reportJson(oddReport(), "read", true, {}) + "\n");
    });
    const auto parsed = nlohmann::json::parse(json, nullptr, false);
    ASSERT_FALSE(parsed.is_discarded()) << json;
    EXPECT_EQ(parsed["sections"][0]["controls"][0]["value"], kOdd);
    for (const char* escape : {"\\u007f", "\\u001b", "\\u0007", "\\u0000", "\\u0085"})
        EXPECT_NE(json.find(escape), std::string::npos) << escape;
    EXPECT_EQ(json.find("\\x"), std::string::npos);
    EXPECT_EQ(json.find_first_of("\x7F\x1B\x07"), std::string::npos);

    // The handover report's HTML: markup as entities, control bytes as in the text form.
    const std::string html =
        handoverHtml({{{"Объект", {"<b>&\"'"}}}, {{"GPRS", {"№<1>"}, {{"APN", {kOdd}}}, {}, {}}}});
    EXPECT_NE(html.find("&lt;b&gt;&amp;&quot;&#39;"), std::string::npos) << html;
    EXPECT_NE(html.find("<th>№&lt;1&gt;</th>"), std::string::npos) << html;
    EXPECT_NE(html.find("a\\x7F\\x1B\\x07\\x0A\\x09\\x00b\\u0085Жz"), std::string::npos);
    // All of U+0080 to U+009F escaped; U+00A0, the no-break space, is text.
    const std::string c1 = handoverHtml(
        {{{"Объект", {"x"}}}, {{"GPRS", {"№1"}, {{"APN", {"\xC2\x90\xC2\x9F\xC2\xA0"}}}, {}, {}}}});
    EXPECT_NE(c1.find("\\u0090\\u009F\xC2\xA0"), std::string::npos) << c1;

    // The provision table and its event lines: one row a port whatever the IMEI holds.
    PortProgress port;
    port.port = "COM33";
    port.imei = "35\n69";
    port.result = PortResult::Failed;
    port.step = "read";
    port.message = "no\nanswer";
    std::ostringstream terminal;
    TableView table(terminal);
    table.finished({port});
    const std::string shown = terminal.str();
    EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n'), 4) << shown;
    EXPECT_NE(shown.find("35\\x0A69"), std::string::npos) << shown;
    std::ostringstream log;
    LineView(log).changed({port}, 0, "serial number 1, IMEI 35\n69");
    EXPECT_EQ(log.str(), "COM33: serial number 1, IMEI 35\\x0A69\n");
}

TEST(OutputEscaping, ReportCellsStayTextInASpreadsheetAndEscapeControls) {
    struct Case {
        std::string imei;
        std::string cell;
    };
    const Case cases[] = {
        {"=HYPERLINK(\"http://x\",\"y\")", "\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\""},
        {"+7", "'+7"},
        {"-1", "'-1"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"\tx", "\\x09x"},
        {"\rx", "\\x0Dx"},
        {"35\x1B[2J\0\n"s, "35\\x1B[2J\\x00\\x0A"},
        {"3569380356", "3569380356"},
    };
    for (const Case& c : cases) {
        PortProgress port;
        port.port = "COM1";
        port.imei = c.imei;
        port.result = PortResult::Ok;
        const std::string csv = provisionReportCsv({port});
        EXPECT_EQ(csv.substr(csv.find("\r\n") + 2), "COM1,," + c.cell + ",,ok,,,0.0\r\n") << c.imei;
    }
}

}  // namespace
}  // namespace zelar::cli
