#include <gtest/gtest.h>

#include <memory>

#include "platform/event_pump.h"
#include "sim/boot_loader.h"
#include "sim/installed_modem.h"
#include "sim/modem_exchange.h"
#include "sim/sim_serial_port.h"

namespace zelar::sim {
namespace {

class SimPort : public ::testing::Test {
  protected:
    explicit SimPort(ModemOptions options = {})
        : modem(installedModem(), std::move(options)), cable(clock, modem, 7), port(cable) {}

    void openAt(int baud) {
        LineSettings settings;
        settings.baudRate = baud;
        port.open(7, settings);
    }

    VirtualClock clock;
    SimModem modem;
    SimCable cable;
    SimSerialPort port;
};

TEST_F(SimPort, ReplyBecomesReadableByteByByteOnTheLine) {
    openAt(115200);
    port.write("AT+V22\r");
    // 7 bytes take 608 us to arrive, 1 ms of work, then 24 characters take 2084 us.
    clock.advanceUs(3691);
    EXPECT_EQ(port.readAll().size(), 23u);
    clock.advanceUs(1);
    EXPECT_EQ(port.readAll(), "\n");
    EXPECT_EQ(port.readAll(), "");
}

TEST_F(SimPort, OpenFailsForOtherNumbersAbsentPortsAndSecondHolders) {
    LineSettings settings;
    EXPECT_THROW(port.open(8, settings), SerialError);
    try {
        port.open(12, settings);
        FAIL();
    } catch (const SerialError& e) {
        EXPECT_STREQ(e.what(), "Can't open device COM12");
    }
    cable.setPresent(false);
    EXPECT_THROW(port.open(7, settings), SerialError);
    EXPECT_FALSE(port.isOpen());
    cable.setPresent(true);
    port.open(7, settings);
    SimSerialPort second(cable);
    EXPECT_THROW(second.open(7, settings), SerialError);
    port.close();
    EXPECT_NO_THROW(second.open(7, settings));
}

TEST_F(SimPort, BytesArrivingWhileClosedAreLost) {
    openAt(115200);
    port.write("AT+V22\r");
    clock.advanceUs(1000);
    port.close();
    clock.advanceMs(50);
    openAt(115200);
    EXPECT_EQ(port.readAll(), "");
    EXPECT_THROW(SimSerialPort(cable).write("x"), SerialError);
    port.close();
    EXPECT_THROW(port.write("AT+V23\r"), SerialError);
}

TEST_F(SimPort, PurgeInputDropsWhatArrived) {
    openAt(115200);
    port.write("AT+V23\r");
    clock.advanceMs(10);
    port.purgeInput();
    EXPECT_EQ(port.readAll(), "");
    port.write("AT+V23\r");
    clock.advanceMs(10);
    EXPECT_EQ(port.readAll(), "\r\nOK\r\n");
}

TEST_F(SimPort, PurgeOutputCancelsWhatHasNotCrossed) {
    openAt(115200);
    port.write("AT+V1600050001AA\r");
    port.purgeOutput();
    clock.advanceMs(10);
    EXPECT_EQ(port.readAll(), "");
    EXPECT_EQ(modem.store().settings[5], 0x01);
}

TEST_F(SimPort, OutputQueueOverflowIsAWriteError) {
    LineSettings settings;
    settings.outputQueue = 100;
    port.open(7, settings);
    port.write(std::string(90, 'x'));
    try {
        port.write(std::string(20, 'y'));
        FAIL();
    } catch (const SerialError& e) {
        EXPECT_STREQ(e.what(), "Write data error [requested: 20, free: 10]");
    }
}

class SplitReply : public SimPort {
  protected:
    static ModemOptions splitOptions() {
        ModemOptions options;
        options.faults.rules.push_back(*parseFaultRule("split:22"));
        options.faults.splitGapUs = 150'000;
        return options;
    }
    SplitReply() : SimPort(splitOptions()) {}
};

TEST_F(SplitReply, ReplyArrivesInTwoChunksAcrossPolls) {
    openAt(115200);
    port.write("AT+V22\r");
    PumpDelay(clock, 100);
    const std::string first = port.readAll();
    EXPECT_EQ(first, "\r\n2045180702");
    PumpDelay(clock, 100);
    EXPECT_EQ(first + port.readAll(), "\r\n2045180702050102\r\nOK\r\n");
}

TEST_F(SimPort, LargeReplyOutlastsOnePoll) {
    openAt(115200);
    // The whole memory: 4104 characters, 356 ms on the line.
    port.write("AT+V1700000800\r");
    std::string reply;
    std::vector<std::size_t> perPoll;
    for (int poll = 0; poll < 5; ++poll) {
        PumpDelay(clock, 100);
        const std::string part = port.readAll();
        perPoll.push_back(part.size());
        reply += part;
    }
    EXPECT_EQ(reply.size(), 2u * 0x800 + 8);
    EXPECT_EQ(reply.substr(reply.size() - 6), "\r\nOK\r\n");
    EXPECT_GT(perPoll[0], 0u);
    EXPECT_LT(perPoll[0], reply.size());
    EXPECT_GT(perPoll[3], 0u);
}

class LenientSpeed : public SimPort {
  protected:
    static ModemOptions lenient() {
        ModemOptions options;
        options.strictBaud = false;
        return options;
    }
    LenientSpeed() : SimPort(lenient()) {}
};

TEST_F(LenientSpeed, SlowerLineStretchesTheReply) {
    openAt(57600);
    // 134 characters at 57600 baud take 23.3 ms; at 115200 they would take 11.6 ms.
    port.write("AT+V170225003F\r");
    PumpDelay(clock, 20);
    const std::string early = port.readAll();
    EXPECT_GT(early.size(), 0u);
    EXPECT_LT(early.size(), 134u);
    PumpDelay(clock, 10);
    EXPECT_EQ(early.size() + port.readAll().size(), 134u);
}

TEST_F(SimPort, StrictModemIgnoresTheWrongSpeed) {
    openAt(57600);
    port.write("AT+V23\r");
    PumpDelay(clock, 100);
    EXPECT_EQ(port.readAll(), "");
}

TEST_F(SimPort, ReceivedHandlerRunsOnceABurstHasArrived) {
    openAt(115200);
    std::vector<std::string> seen;
    port.setReceivedHandler([&] { seen.push_back(port.readAll()); });
    port.write("AT+V22\r");
    PumpDelay(clock, 100);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].size(), 24u);
    port.setReceivedHandler({});
    port.write("AT+V22\r");
    PumpDelay(clock, 100);
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_EQ(port.readAll().size(), 24u);
}

TEST_F(SimPort, ReceivedHandlerIsNeverReentered) {
    openAt(115200);
    int depth = 0;
    int calls = 0;
    int maxDepth = 0;
    std::string second;
    port.setReceivedHandler([&] {
        ++depth;
        ++calls;
        maxDepth = std::max(maxDepth, depth);
        port.readAll();
        if (calls == 1) {
            // A second reply arrives while this handler still waits.
            port.write("AT+V23\r");
            PumpDelay(clock, 50);
            second = port.readAll();
        }
        --depth;
    });
    port.write("AT+V23\r");
    PumpDelay(clock, 200);
    EXPECT_EQ(maxDepth, 1);
    EXPECT_EQ(second, "\r\nOK\r\n");
    EXPECT_EQ(calls, 1) << "the held-back burst was read by the first call, so no second call";
}

TEST_F(SimPort, HeldBackBurstIsAnnouncedWhenStillUnread) {
    openAt(115200);
    int calls = 0;
    std::string later;
    port.setReceivedHandler([&] {
        ++calls;
        if (calls == 1) {
            port.readAll();
            port.write("AT+V23\r");
            PumpDelay(clock, 50);  // the reply arrives, but this call does not read it
        } else {
            later = port.readAll();
        }
    });
    port.write("AT+V23\r");
    PumpDelay(clock, 200);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(later, "\r\nOK\r\n");
}

TEST_F(SimPort, VanishedDeviceFailsReadsAndIsReportedOnce) {
    openAt(115200);
    int calls = 0;
    PortFault fault = PortFault::Other;
    port.setReceivedHandler([&] {
        ++calls;
        try {
            port.readAll();
        } catch (const SerialError& e) {
            fault = e.fault;
        }
    });
    cable.vanish();
    PumpDelay(clock, 100);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(fault, PortFault::Statistics);
    EXPECT_TRUE(port.isOpen());
    EXPECT_THROW(port.write("AT+V23\r"), SerialError);
    port.close();
    EXPECT_THROW(openAt(115200), SerialError);
    cable.setPresent(true);
    openAt(115200);
    EXPECT_EQ(port.readAll(), "");
}

}  // namespace
}  // namespace zelar::sim
