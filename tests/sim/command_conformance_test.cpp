#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "sim/installed_modem.h"
#include "sim/modem_exchange.h"

namespace zelar::sim {
namespace {

using test::ModemExchange;

std::string framed(const std::string& payload) {
    return "\r\n" + payload + "\r\nOK\r\n";
}

TEST(CommandConformance, MemoryReadsAnswerTwoNPlusEightCharacters) {
    ModemExchange m;
    EXPECT_EQ(m.send("AT+V1700000008\r"), framed("0000000000010000"));
    for (const auto& [line, length] : std::vector<std::pair<std::string, std::size_t>>{
             {"AT+V1702180001\r", 10},
             {"AT+V1702190002\r", 12},
             {"AT+V17021C0004\r", 16},
             {"AT+V1700080018\r", 56},
             {"AT+V1700980020\r", 72},
             {"AT+V1701C0002C\r", 96},
             {"AT+V170225003F\r", 134},
             {"AT+V1707F00010\r", 40},
         }) {
        const std::string reply = m.send(line);
        ASSERT_EQ(reply.size(), length) << line;
        EXPECT_EQ(reply.substr(0, 2), "\r\n");
        EXPECT_EQ(reply.substr(reply.size() - 6), "\r\nOK\r\n");
    }
}

TEST(CommandConformance, InstalledModemCarriesItsDocumentedContents) {
    ModemExchange m;
    // Identification: serial 7204518 packed as 20 45 18 07, firmware 0205, unused '0', loader 102.
    EXPECT_EQ(m.send("AT+V22\r"), framed("2045180702050102"));
    EXPECT_EQ(m.send("AT+V1702210004\r"), framed("20451807"));
    // IMEI as ASCII digits, then the unused byte.
    EXPECT_EQ(m.send("AT+V1707F00010\r"), framed("333536393338303335363433383039FF"));
    // User 1: "+79161234567", role 0, SMS, password 1234.
    const std::string user1 = m.send("AT+V1700080018\r");
    EXPECT_EQ(user1.substr(2, 36),
              "2B3739313631323334353637"
              "00"
              "00"
              "31323334");
    // Main system 5, object shown 1234 stored as 1233 (0x04D1, low byte first), RPI.
    EXPECT_EQ(m.send("AT+V17021C0004\r"), framed("05D10406"));
    // Link test period 60 s, high byte first.
    EXPECT_EQ(m.send("AT+V1702190002\r"), framed("003C"));
    // The GPRS name holds Cyrillic in Windows-1251: "Склад" is D1 EA EB E0 E4.
    EXPECT_EQ(m.send("AT+V1701A90005\r"), framed("D1EAEBE0E4"));
}

TEST(CommandConformance, FirmwareVersionIsConfigurable) {
    ModemExchange old({}, "0150");
    EXPECT_EQ(old.send("AT+V22\r").substr(10, 4), "0150");
    ModemExchange mid({}, "0203");
    EXPECT_EQ(mid.send("AT+V22\r").substr(10, 4), "0203");
}

TEST(CommandConformance, WritesAreReadBack) {
    ModemExchange m;
    EXPECT_EQ(m.send("AT+V16000500020102\r"), "\r\nOK\r\n");
    EXPECT_EQ(m.send("AT+V1700050002\r"), framed("0102"));
    EXPECT_EQ(m.send("AT+V160218000103\r"), "\r\nOK\r\n");
    EXPECT_EQ(m.send("AT+V1702180001\r"), framed("03"));
    // The serial number written at 0x0221 is what the identification reports.
    EXPECT_EQ(m.send("AT+V1602210004123456FE\r"), "\r\nOK\r\n");
    EXPECT_EQ(m.send("AT+V22\r").substr(2, 8), "123456FE");
    // A write up to the last byte is inside the memory.
    EXPECT_EQ(m.send("AT+V1607FF0001AB\r"), "\r\nOK\r\n");
    EXPECT_EQ(m.send("AT+V1707FF0001\r"), framed("AB"));
}

TEST(CommandConformance, MainObjectCommandWritesFourBytes) {
    ModemExchange m;
    // System 5, object 12 as shown (stored 11), RPI+.
    EXPECT_EQ(m.send("AT+V4000500127\r"), "\r\nOK\r\n");
    EXPECT_EQ(m.send("AT+V17021C0004\r"), framed("050B0007"));
    // The reset line: system 0, object 4000 (stored 3999, which reads as not set), RPI.
    EXPECT_EQ(m.send("AT+V4000040006\r"), "\r\nOK\r\n");
    EXPECT_EQ(m.send("AT+V17021C0004\r"), framed("009F0F06"));
    // Object 0 wraps to 0xFFFF; the bytes around the four are untouched.
    EXPECT_EQ(m.send("AT+V4025500004\r"), "\r\nOK\r\n");
    EXPECT_EQ(m.send("AT+V17021B0006\r"), framed("FFFFFFFF0402"));
}

TEST(CommandConformance, RefusedCommandsLackOkAndChangeNothing) {
    ModemExchange m;
    const std::string before = m.send("AT+V1700000008\r");
    for (const char* line : {
             "AT+V1707F00011\r",      // read past the end of the memory
             "AT+V1708000001\r",      // starts past the end
             "AT+V1607FF000212AB\r",  // write past the end
             "AT+V1600050002010\r",   // odd number of data digits
             "AT+V160005000201\r",    // fewer data bytes than the length says
             "AT+V16000500020a0b\r",  // lower-case digits
             "AT+V17000G0008\r",      // not a hex digit
             "AT+V170000000\r",       // short field
             "AT+V99\r",              // unknown command
             "AT+V22X\r",             // fields where none belong
             "HELLO\r",               // not a command at all
             "AT+V4025600014\r",      // system number above 255
             "AT+V400050012\r",       // V40 one digit short
             "AT+V40005001A7\r",      // V40 takes decimal digits only
         }) {
        const std::string reply = m.send(line);
        EXPECT_EQ(reply, "\r\nERROR\r\n") << line;
        EXPECT_EQ(reply.find("OK"), std::string::npos);
    }
    EXPECT_EQ(m.send("AT+V1700000008\r"), before);
}

TEST(CommandConformance, DiagnosticsRepliesHaveTheirFixedLengths) {
    ModemOptions options;
    options.diagnostics.balance = 50.0f;
    options.diagnostics.faultFlags = 0x0205;
    options.diagnostics.signalLevel = 0x1F;
    options.diagnostics.currentSim = 1;
    ModemExchange m(options);
    EXPECT_EQ(m.send("AT+V23\r"), "\r\nOK\r\n");
    // Current SIM, status, then the single-precision balance least significant byte first.
    EXPECT_EQ(m.send("AT+V24\r"), framed("010000004842"));
    // Two fault bytes low first, the level, then the PIN error digit as the fifteenth character.
    const std::string faults = m.send("AT+V25\r");
    EXPECT_EQ(faults, framed("05021F0"));
    EXPECT_EQ(faults.size(), 15u);
    m.modem.options().diagnostics.pinError = true;
    EXPECT_EQ(m.send("AT+V25\r").substr(8, 1), "1");
}

// The level a V25 reports moves as planned: a sequence round and round, or a walk that stays
// within 0 to 31 and steps at most its step, starting mid-way from an undetermined level.
TEST(CommandConformance, SignalLevelMovesAsPlanned) {
    ModemOptions options;
    options.signal.levels = {5, 99};
    ModemExchange sequence(options);
    for (const char* level : {"05", "63", "05"})
        EXPECT_EQ(sequence.send("AT+V25\r").substr(6, 2), level);

    options.signal = {{}, 3};
    options.diagnostics.signalLevel = 99;
    ModemExchange walk(options);
    int last = 15, lowest = 31, highest = 0;
    for (int i = 0; i < 300; ++i) {
        const int level = std::stoi(walk.send("AT+V25\r").substr(6, 2), nullptr, 16);
        EXPECT_LE(std::abs(level - last), 3) << i;
        lowest = std::min(lowest, level);
        highest = std::max(highest, level);
        last = level;
    }
    EXPECT_EQ(std::make_pair(lowest, highest), std::make_pair(0, 31));
}

TEST(CommandConformance, LineHandling) {
    ModemExchange m;
    // A bare CR and a LF after a CR are ignored; "AT" is acknowledged.
    EXPECT_EQ(m.send("\r\n\r"), "");
    EXPECT_EQ(m.send("AT\r\n"), "\r\nOK\r\n");
    // A command arriving in pieces is taken when its CR arrives.
    EXPECT_EQ(m.send("AT+V17000"), "");
    EXPECT_EQ(m.send("00001\r"), framed("00"));
    // An overlong line is refused as a whole.
    EXPECT_EQ(m.send("AT+V16" + std::string(2000, '0') + "\r"), "\r\nERROR\r\n");
    EXPECT_EQ(m.send("AT+V23\r"), "\r\nOK\r\n");
}

TEST(CommandConformance, ReplyTimingFollowsTheLine) {
    ModemOptions options;
    options.timing.commandUs = 2000;
    options.timing.flashUs = 20000;
    ModemExchange m(options);
    m.modem.receive("AT+V22\r", 1000);
    auto out = m.modem.takeOutput();
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].startUs, 3000);
    // 24 characters of 10 bits at 115200 baud: 2083.3 us, rounded up.
    EXPECT_EQ(out[0].endUs(), 3000 + 2084);
    m.modem.receive("AT+V210001\r", 10000);
    out = m.modem.takeOutput();
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].startUs, 30000);
}

}  // namespace
}  // namespace zelar::sim
