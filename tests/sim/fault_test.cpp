#include <gtest/gtest.h>

#include <functional>

#include "sim/fault_plan.h"
#include "sim/modem_exchange.h"
#include "sim/sim_serial_port.h"

namespace zelar::sim {
namespace {

using test::bootBlock;
using test::ModemExchange;

ModemOptions withRule(const std::string& text) {
    ModemOptions options;
    const auto rule = parseFaultRule(text);
    EXPECT_TRUE(rule) << text;
    if (rule)
        options.faults.rules.push_back(*rule);
    return options;
}

TEST(FaultSpec, ParsesKindsCommandsAndOccurrences) {
    const auto all = parseFaultRule("no-ok");
    ASSERT_TRUE(all);
    EXPECT_EQ(all->fault, ReplyFault::NoOk);
    EXPECT_EQ(all->command, 0);
    EXPECT_EQ(all->occurrence, 0);
    const auto third = parseFaultRule("late:17@3");
    ASSERT_TRUE(third);
    EXPECT_EQ(third->fault, ReplyFault::Late);
    EXPECT_EQ(third->command, 17);
    EXPECT_EQ(third->occurrence, 3);
    for (const char* bad :
         {"", "loud", "silent:7", "silent:017", "split:17@0", "split:17@", "x:17"})
        EXPECT_FALSE(parseFaultRule(bad)) << bad;

    const auto ack = parseBootFaultRule("double-ack:12");
    ASSERT_TRUE(ack);
    EXPECT_EQ(ack->fault, BootFault::DoubleAck);
    EXPECT_EQ(ack->page, 12);
    EXPECT_EQ(parseBootFaultRule("no-ack")->page, -1);
    EXPECT_TRUE(parseBootFaultRule("no-announce"));
    EXPECT_EQ(parseBootFaultRule("double-announce")->fault, BootFault::DoubleAnnounce);
    EXPECT_FALSE(parseBootFaultRule("no-announce:3"));
    EXPECT_FALSE(parseBootFaultRule("no-ack:x"));
    EXPECT_EQ(parseBootFaultRule("noise")->leadUs, 50'000);
    EXPECT_EQ(parseBootFaultRule("noise:3000")->leadUs, 3'000'000);
    EXPECT_EQ(parseBootFaultRule("vanish")->fault, BootFault::Vanish);
    EXPECT_FALSE(parseBootFaultRule("noise:x"));
    EXPECT_FALSE(parseBootFaultRule("vanish:3"));
}

TEST(ReplyFaults, SilentLosesTheCommand) {
    ModemExchange m(withRule("silent:16"));
    EXPECT_EQ(m.send("AT+V1600050001AA\r"), "");
    EXPECT_EQ(m.send("AT+V1700050001\r"), "\r\n01\r\nOK\r\n");
}

TEST(ReplyFaults, NoOkCarriesOutTheCommandButDropsTheOk) {
    ModemExchange m(withRule("no-ok:16"));
    EXPECT_EQ(m.send("AT+V1600050001AA\r"), "\r\n");
    EXPECT_EQ(m.send("AT+V1700050001\r"), "\r\nAA\r\nOK\r\n");
    ModemExchange data(withRule("no-ok:17"));
    EXPECT_EQ(data.send("AT+V1700050001\r"), "\r\n01\r\n");
}

TEST(ReplyFaults, OccurrenceHitsOnlyThatCommand) {
    ModemExchange m(withRule("silent:17@2"));
    EXPECT_NE(m.send("AT+V1700000001\r"), "");
    EXPECT_NE(m.send("AT+V22\r"), "");
    EXPECT_EQ(m.send("AT+V1700000001\r"), "");
    EXPECT_NE(m.send("AT+V1700000001\r"), "");
}

TEST(ReplyFaults, SplitSendsPiecesWithPauses) {
    ModemOptions options = withRule("split:22");
    options.faults.splitPieces = 3;
    options.faults.splitGapUs = 150'000;
    ModemExchange m(options);
    m.modem.receive("AT+V22\r", 0);
    const auto out = m.modem.takeOutput();
    ASSERT_EQ(out.size(), 3u);
    std::string whole;
    for (std::size_t i = 0; i < out.size(); ++i) {
        whole += out[i].bytes;
        if (i > 0) {
            EXPECT_EQ(out[i].startUs, out[i - 1].endUs() + 150'000);
        }
    }
    EXPECT_EQ(whole, "\r\n2045180702050102\r\nOK\r\n");
}

TEST(ReplyFaults, StrayBytesSurroundTheReply) {
    ModemOptions options = withRule("stray-before:23");
    options.faults.rules.push_back(*parseFaultRule("stray-after:23"));
    options.faults.strayBytes = "#";
    ModemExchange m(options);
    EXPECT_EQ(m.send("AT+V23\r"), "#\r\nOK\r\n#");
    EXPECT_EQ(m.send("AT+V1700050001\r"), "\r\n01\r\nOK\r\n");
}

TEST(ReplyFaults, LateReplyStartsAfterThePause) {
    ModemOptions options = withRule("late");
    options.faults.lateUs = 6'000'000;
    options.timing.commandUs = 1'000;
    ModemExchange m(options);
    m.modem.receive("AT+V23\r", 0);
    const auto out = m.modem.takeOutput();
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].startUs, 6'001'000);
}

// How each timing fault shapes the identification reply (24 characters, ready 1 ms after the
// command): the pieces it comes in, when the first starts, the pauses between them.
TEST(ReplyFaults, TimingFaultsShapeTheReply) {
    const struct {
        const char* rule;
        std::function<void(FaultPlan&)> tune;
        std::size_t pieces;
        std::size_t pieceSize;  // of every piece but the last
        std::int64_t startUs;
        std::int64_t minGapUs, maxGapUs;
    } cases[] = {
        {"late", [](FaultPlan&) {}, 1, 24, 6'001'000, 0, 0},
        // Whole, inside the program's 5 s of polls.
        {"late-within", [](FaultPlan&) {}, 1, 24, 4'001'000, 0, 0},
        {"split", [](FaultPlan&) {}, 2, 12, 1'000, 150'000, 150'000},
        // A USB adapter's pieces: by default 8 bytes, 1 to 16 ms apart.
        {"pieces", [](FaultPlan&) {}, 3, 8, 1'000, 1'000, 16'000},
        {"pieces",
         [](FaultPlan& p) {
             p.pieceBytes = 5;
             p.pieceGapMinUs = p.pieceGapMaxUs = 3'000;
         },
         5, 5, 1'000, 3'000, 3'000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rule);
        ModemOptions options = withRule(c.rule);
        options.timing.commandUs = 1'000;
        c.tune(options.faults);
        ModemExchange m(options);
        m.modem.receive("AT+V22\r", 0);
        const auto out = m.modem.takeOutput();
        ASSERT_EQ(out.size(), c.pieces);
        EXPECT_EQ(out[0].startUs, c.startUs);
        std::string whole;
        for (std::size_t i = 0; i < out.size(); ++i) {
            whole += out[i].bytes;
            if (i + 1 < out.size()) {
                EXPECT_EQ(out[i].size(), c.pieceSize) << i;
            }
            if (i == 0)
                continue;
            const std::int64_t gap = out[i].startUs - out[i - 1].endUs();
            EXPECT_GE(gap, c.minGapUs) << i;
            EXPECT_LE(gap, c.maxGapUs) << i;
        }
        EXPECT_EQ(whole, "\r\n2045180702050102\r\nOK\r\n");
    }
}

// The host's port refuses writes after the N-th, with the write error, as a failing adapter.
TEST(PortFaults, WriteErrorAfterNWrites) {
    VirtualClock clock;
    ModemOptions options;
    options.faults.writeErrorAfter = 2;
    SimModem modem(installedModem(), options);
    SimCable cable(clock, modem, 3);
    SimSerialPort port(cable);
    port.open(3, LineSettings{});
    port.write("AT+V23\r");
    port.write("AT+V23\r");
    clock.advanceUs(100'000);
    try {
        port.write("AT+V22\r");
        FAIL() << "the third write was taken";
    } catch (const SerialError& e) {
        EXPECT_STREQ(e.what(), "Write data error [requested: 7, free: 2048]");
        EXPECT_EQ(e.fault, PortFault::Write);
    }
    clock.advanceUs(100'000);
    EXPECT_EQ(modem.commandsSeen(), 2);
    EXPECT_EQ(port.readAll(), "\r\nOK\r\n\r\nOK\r\n");
}

TEST(ReplyFaults, CorruptReplacesPayloadCharactersOnly) {
    ModemOptions options = withRule("corrupt");
    options.faults.corruptCount = 3;
    ModemExchange m(options);
    EXPECT_EQ(m.send("AT+V1702210004\r"), "\r\nGGG51807\r\nOK\r\n");
    // No payload, nothing to corrupt.
    EXPECT_EQ(m.send("AT+V23\r"), "\r\nOK\r\n");
}

TEST(ReplyFaults, StopAfterNCommandsUntilRestart) {
    ModemOptions options;
    options.faults.stopAfterCommands = 2;
    options.timing.restartUs = 100'000;
    options.timing.bootWindowUs = 100'000;
    ModemExchange m(options);
    EXPECT_EQ(m.send("AT+V23\r"), "\r\nOK\r\n");
    EXPECT_EQ(m.send("AT+V23\r"), "\r\nOK\r\n");
    EXPECT_EQ(m.send("AT+V23\r"), "");
    EXPECT_EQ(m.send("AT+V16000500010F\r"), "");
    EXPECT_EQ(m.modem.store().settings[5], 0x01);
    m.modem.powerCycle(m.nowUs);
    m.wait(300'000);
    ASSERT_EQ(m.modem.mode(), SimModem::Mode::Firmware);
    EXPECT_EQ(m.send("AT+V23\r"), "\r\nOK\r\n");
}

TEST(ReplyFaults, HangUpAfterNCommandsOnce) {
    ModemOptions options;
    options.faults.hangUpAfter = 1;
    ModemExchange m(options);
    EXPECT_EQ(m.send("AT+V23\r"), "\r\nOK\r\n");
    EXPECT_FALSE(m.modem.takeHangUp());
    EXPECT_EQ(m.send("AT+V16000500010F\r"), "");
    EXPECT_EQ(m.modem.store().settings[5], 0x01);
    EXPECT_TRUE(m.modem.takeHangUp());
    EXPECT_FALSE(m.modem.takeHangUp());
    // Back on the line, the modem answers again.
    EXPECT_EQ(m.send("AT+V23\r"), "\r\nOK\r\n");
    EXPECT_FALSE(m.modem.takeHangUp());
}

TEST(ReplyFaults, PowerCutAfterNCommandsLosesThePageBufferOnly) {
    ModemOptions options;
    options.faults.powerCutAfter = 2;
    options.faults.powerCutMs = 500;
    ModemExchange m(options);
    const std::string ones(64, '1');
    EXPECT_EQ(m.send("AT+V1600050001AA\r"), "\r\nOK\r\n");
    EXPECT_EQ(m.send("AT+V1800000020" + ones + "\r"), "\r\nOK\r\n");
    // Off: a command is neither answered nor carried out.
    EXPECT_EQ(m.send("AT+V200001\r"), "");
    EXPECT_NE(m.modem.store().flash[256], 0x11);
    m.wait(500'000);
    EXPECT_EQ(m.modem.mode(), SimModem::Mode::Firmware);
    EXPECT_EQ(m.send("AT+V1900000001\r"), "\r\nFF\r\nOK\r\n");
    EXPECT_EQ(m.send("AT+V1700050001\r"), "\r\nAA\r\nOK\r\n");
    // Once per run.
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(m.send("AT+V23\r"), "\r\nOK\r\n");
}

class BootFaults : public ::testing::Test {
  protected:
    std::string startBootLoader(const std::string& bootFault) {
        options_.timing.restartUs = 100'000;
        options_.timing.bootWindowUs = 500'000;
        options_.faults.bootRules.push_back(*parseBootFaultRule(bootFault));
        m_ = std::make_unique<ModemExchange>(options_);
        EXPECT_EQ(m_->send("AT+V39\r"), "\r\nOK\r\n");
        m_->setLine(kBootLoaderBaud);
        return m_->wait(100'000);
    }
    ModemOptions options_;
    std::unique_ptr<ModemExchange> m_;
};

TEST_F(BootFaults, DoubleAckOnOnePage) {
    ASSERT_EQ(startBootLoader("double-ack:1"), "!");
    EXPECT_EQ(m_->send(bootBlock(0, 0)), "K");
    EXPECT_EQ(m_->send(bootBlock(1, 0)), "KK");
    EXPECT_EQ(m_->send(bootBlock(2, 0, 3)), "E");
}

TEST_F(BootFaults, NoAckStillStoresThePage) {
    ASSERT_EQ(startBootLoader("no-ack"), "!");
    EXPECT_EQ(m_->send(bootBlock(4, 0x77)), "");
    EXPECT_EQ(m_->modem.store().program[4 * 256], 0x77);
}

TEST_F(BootFaults, DoubleAnnounce) {
    EXPECT_EQ(startBootLoader("double-announce"), "!!");
}

TEST_F(BootFaults, NoiseGoesOutTheChosenTimeBeforeTheAnnouncement) {
    options_.faults.bootNoise = "x";
    options_.timing.restartUs = 100'000;
    options_.faults.bootRules.push_back(*parseBootFaultRule("noise:40"));
    SimModem modem(installedModem("0205"), options_);
    modem.setLine(true, kBootLoaderBaud, 0);
    modem.powerCycle(0);
    modem.advanceTo(1'000'000);
    const auto out = modem.takeOutput();
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].bytes + out[1].bytes, "x!");
    EXPECT_EQ(out[0].startUs, 100'000);
    EXPECT_EQ(out[1].startUs - out[0].endUs(), 40'000);
}

TEST_F(BootFaults, VanishHangsUpInsteadOfAnnouncingOnce) {
    EXPECT_EQ(startBootLoader("vanish"), "");
    EXPECT_TRUE(m_->modem.takeHangUp());
    EXPECT_EQ(m_->wait(600'000), "");
    EXPECT_EQ(m_->modem.mode(), SimModem::Mode::Firmware);
    // Back on the line, the next restart announces itself.
    m_->setLine(kFirmwareBaud);
    EXPECT_EQ(m_->send("AT+V39\r"), "\r\nOK\r\n");
    m_->setLine(kBootLoaderBaud);
    EXPECT_EQ(m_->wait(100'000), "!");
    EXPECT_FALSE(m_->modem.takeHangUp());
}

TEST_F(BootFaults, NoAnnounceThenTheFirmwareReturns) {
    EXPECT_EQ(startBootLoader("no-announce"), "");
    EXPECT_EQ(m_->wait(600'000), "");
    EXPECT_EQ(m_->modem.mode(), SimModem::Mode::Firmware);
}

}  // namespace
}  // namespace zelar::sim
