#include <gtest/gtest.h>

#include <tuple>

#include "firmware/boot_link.h"
#include "firmware/boot_protocol.h"
#include "sim/installed_modem.h"
#include "sim/sim_serial_port.h"

namespace zelar {
namespace {

class BootLinkTest : public ::testing::Test {
  protected:
    BootLinkTest() { link.SetPortNumber(1); }

    std::string openError() {
        try {
            link.Open();
        } catch (const SerialError& e) {
            return e.what();
        }
        return {};
    }

    sim::VirtualClock clock;
    sim::SimModem modem{sim::installedModem("0205")};
    sim::SimCable cable{clock, modem, 1};
    sim::SimSerialPort port{cable};
    TVaComm link{&port, clock};
};

TEST_F(BootLinkTest, LineSettingsAndItsOwnErrorTexts) {
    link.Open();
    const LineSettings& line = port.settings();
    EXPECT_EQ(std::tie(line.baudRate, line.dtr, line.rts, line.inputQueue, line.outputQueue),
              std::make_tuple(57600, false, false, 4096, 2048));
    EXPECT_EQ(openError(), "Can't perform this operation while port is open");
    try {
        link.WriteBuf(std::string(3000, 'x'));
        ADD_FAILURE();
    } catch (const SerialError& e) {
        EXPECT_STREQ(e.what(), "Output buffer is full. Please check comm status.");
    }
    link.Close();
    link.SetPortNumber(2);
    EXPECT_EQ(openError(), "Specified device not found (COM2).");
}

TEST_F(BootLinkTest, CloseTakes300msOnceOnly) {
    link.Open();
    link.Close();
    EXPECT_EQ(clock.tickMs(), 300);
    link.Close();
    EXPECT_EQ(clock.tickMs(), 300);
}

// The handler waits in the event loop while the block's acknowledgement arrives: it is not
// re-entered, an error it raises is reported, and the waiting character is announced after.
TEST_F(BootLinkTest, ReceivedCharactersOneHandlerAtATime) {
    int depth = 0, maxDepth = 0, calls = 0;
    std::vector<std::string> reads, errors;
    link.OnError = [&](const SerialError& e) { errors.push_back(e.what()); };
    link.OnRxChar = [&] {
        ++calls;
        maxDepth = std::max(maxDepth, ++depth);
        const std::string got = link.ReadAll();
        reads.push_back(got);
        if (got == "!") {
            link.WriteBuf(composeBlock(FirmwareImage(kFirmwareImageSize, 0xFF), 0));
            PumpDelay(clock, 100);
            --depth;
            throw SerialError("boom");
        }
        --depth;
    };
    cable.powerCycle();
    link.Open();
    clock.advanceMs(1000);
    EXPECT_EQ(maxDepth, 1);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(reads, (std::vector<std::string>{"!", "K"}));
    EXPECT_EQ(errors, (std::vector<std::string>{"boom"}));
}

}  // namespace
}  // namespace zelar
