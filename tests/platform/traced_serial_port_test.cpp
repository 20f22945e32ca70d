#include "platform/traced_serial_port.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/scripted_port.h"

namespace zelar {
namespace {

class TracedSerialPortTest : public ::testing::Test {
  protected:
    sim::VirtualClock clock;
    test::ScriptedPort port{clock};
    std::ostringstream trace;
    TracedSerialPort traced{port, trace, "main", [] { return std::string("T"); }};
};

TEST_F(TracedSerialPortTest, EveryByteBothWaysInHexAndText) {
    traced.open(7, LineSettings{});
    traced.write("AT+V16\r");
    port.arrive(0, std::string("OK\r\n\x00\xFF", 6) + "0123456789ABCDEF");
    clock.advanceMs(1);
    EXPECT_EQ(traced.readAll().size(), 22u);
    EXPECT_EQ(traced.readAll(), "");
    traced.close();
    traced.close();
    EXPECT_EQ(port.sent, std::vector<std::string>{"AT+V16\r"});
    EXPECT_EQ(trace.str(),
              "T main open COM7 115200 baud\n"
              "T main > 41 54 2B 56 31 36 0D                            |AT+V16.|\n"
              "T main < 4F 4B 0D 0A 00 FF 30 31 32 33 34 35 36 37 38 39 |OK....0123456789|\n"
              "T main < 41 42 43 44 45 46                               |ABCDEF|\n"
              "T main close\n");
}

TEST_F(TracedSerialPortTest, PortErrorsAreTracedAndPassedOn) {
    port.failOpen = true;
    EXPECT_THROW(traced.open(5, LineSettings{}), SerialError);
    EXPECT_EQ(trace.str(), "T main open COM5 115200 baud\nT main error: Can't open device COM5\n");
}

}  // namespace
}  // namespace zelar
