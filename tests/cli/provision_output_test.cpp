#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "csv_table.h"
#include "provision/provision_steps.h"
#include "provision/provision_view.h"

namespace zelar::cli {
namespace {

PortProgress port(std::string name, std::string serial = "", std::string imei = "",
                  std::string step = "", int percent = 0, PortResult result = PortResult::Waiting) {
    PortProgress p;
    p.port = std::move(name);
    p.serial = std::move(serial);
    p.firmware = p.serial.empty() ? "" : "2.05";
    p.imei = std::move(imei);
    p.step = std::move(step);
    p.percent = percent;
    p.result = result;
    return p;
}

TEST(ProvisionOutput, TableKeepsItsColumnsWhateverTheTextsAndEscapesThem) {
    const PortProgress running =
        port("COM33", "7204518", "356938035643809", "restore", 40, PortResult::Running);
    const PortProgress failed =
        port("COM34", "Серийный\x1B", "1234567890123456789", "read", 0, PortResult::Failed);
    const std::vector<std::string> lines = tableLines({running, failed, port("COM35")});
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "port    serial     firmware  IMEI             step     %     result",
                         "COM33   7204518    2.05      356938035643809  restore  40%",
                         "COM34   Серийный\x1B  2.05      1234567890123456 read     0%    failed",
                         "COM35                                         waiting",
                     }));
    std::ostringstream terminal;
    TableView view(terminal);
    view.changed({failed}, 0, "");
    view.changed({failed}, 0, "");
    EXPECT_EQ(terminal.str().substr(terminal.str().find("\x1B[2A")),
              "\x1B[2A\r" + lines[0] +
                  "\x1B[K\n\rCOM34   Серийный\\x1B  2.05      1234567890123456 "
                  "read     0%    failed\x1B[K\n");
}

TEST(ProvisionOutput, AFailedStepSaysWhyInOneLine) {
    struct Case {
        ProvisionStep step;
        std::vector<std::string> errors;
        const char* output;
        const char* message;
    };
    const Case cases[] = {
        {ProvisionStep::Read,
         {"[Модем] Не могу открыть порт", "zelar-cli: COM9: no such device"},
         "",
         "[Модем] Не могу открыть порт; zelar-cli: COM9: no such device"},
        {ProvisionStep::Script,
         {"[Модем] Пароль принят", "line 3: EditX is \"1\", expected \"2\""},
         "",
         "line 3: EditX is \"1\", expected \"2\""},
        {ProvisionStep::Verify,
         {"[Модем] Пароль принят"},
         "a / b: modem \"1\", file \"2\"\nc\n",
         "a / b: modem \"1\", file \"2\" (and 1 more differences)"},
        {ProvisionStep::Restore, {}, "", "exit status 3"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(childMessage(c.step, c.errors, c.output, 1 + 2 * (c.errors.empty())), c.message);
}

TEST(ProvisionOutput, ReportFieldsAreQuotedWhereTheyHoldCommasQuotesOrLineBreaks) {
    const CsvRow row{"COM1", "a, b", "say \"x\"", "two\nlines", ""};
    EXPECT_EQ(csvLine(row), "COM1,\"a, b\",\"say \"\"x\"\"\",\"two\nlines\",\r\n");
    EXPECT_EQ(parseCsv(csvLine(row)).rows, std::vector<CsvRow>{row});
}

}  // namespace
}  // namespace zelar::cli
