#include "port_line.h"

#include <gtest/gtest.h>

namespace zelar::cli {
namespace {

TEST(PortLine, TheToolTipFollowsTheNameOnOneLine) {
    struct Case {
        const char* name;
        const char* toolTip;
        const char* line;
    };
    const Case cases[] = {
        {"COM33", "/dev/ttyUSB0\nFT232R USB UART", "COM33\t/dev/ttyUSB0\tFT232R USB UART"},
        {"COM1", "/dev/ttyS0", "COM1\t/dev/ttyS0"},
        {"COM5", "USB-SERIAL CH340 (COM5)", "COM5\tUSB-SERIAL CH340 (COM5)"},
        // Windows without a device manager's name (wine): the name once.
        {"COM230", "COM230", "COM230"},
        {"COM7", "", "COM7"},
        // A product's own tab or escape sequence cannot add a field or steer the terminal.
        {"COM34", "/dev/ttyUSB1\nOdd\tname\x1b[2J", "COM34\t/dev/ttyUSB1\tOdd\\x09name\\x1B[2J"},
        {"COM35", "/dev/ttyUSB2\n", "COM35\t/dev/ttyUSB2\t"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(portLine(c.name, c.toolTip), c.line) << c.name;
}

}  // namespace
}  // namespace zelar::cli
