#include <gtest/gtest.h>

#include "sim/boot_loader.h"
#include "sim/modem_exchange.h"
#include "sim/modem_store.h"

namespace zelar::sim {
namespace {

using test::bootBlock;
using test::ModemExchange;

ModemOptions quickRestart() {
    ModemOptions options;
    options.timing.restartUs = 200'000;
    options.timing.bootWindowUs = 1'000'000;
    return options;
}

// Restarts the modem with V39 and opens the line at the boot loader's speed; returns "!" or
// whatever came instead.
std::string enterBootLoader(ModemExchange& m) {
    EXPECT_EQ(m.send("AT+V39\r"), "\r\nOK\r\n");
    m.setLine(kBootLoaderBaud);
    return m.wait(m.modem.options().timing.restartUs);
}

TEST(BlockReceiver, ChecksumDecidesWhetherThePageIsStored) {
    std::vector<std::uint8_t> program(kProgramPages * kPageSize, 0xFF);
    BlockReceiver receiver;
    const auto feedAll = [&](const std::string& block) {
        std::optional<BlockReceiver::Block> result;
        for (char c : block) {
            const auto r = receiver.feed(static_cast<std::uint8_t>(c), program);
            if (r) {
                EXPECT_FALSE(result) << "one block, one result";
                result = r;
            }
        }
        return result;
    };
    auto r = feedAll(bootBlock(3, 0x41));
    ASSERT_TRUE(r);
    EXPECT_TRUE(r->accepted);
    EXPECT_EQ(r->page, 3);
    EXPECT_EQ(program[3 * 256], 0x41);
    EXPECT_EQ(program[3 * 256 + 255], 0x41);
    EXPECT_EQ(program[4 * 256], 0xFF);

    r = feedAll(bootBlock(4, 0x42, 1));
    ASSERT_TRUE(r);
    EXPECT_FALSE(r->accepted);
    EXPECT_EQ(program[4 * 256], 0xFF);

    // Pages 496 and up lie outside the program memory.
    r = feedAll(bootBlock(496, 0x43));
    ASSERT_TRUE(r);
    EXPECT_FALSE(r->accepted);

    // Noise before the "W" is skipped; a page number takes its high byte into account.
    r = feedAll("\x00\x13zz" + bootBlock(0x101, 0x44));
    ASSERT_TRUE(r);
    EXPECT_TRUE(r->accepted);
    EXPECT_EQ(r->page, 257);
}

TEST(BootLoader, RestartAnnouncesOnceTheHostListensAtItsSpeed) {
    ModemExchange m(quickRestart());
    EXPECT_EQ(m.send("AT+V39\r"), "\r\nOK\r\n");
    EXPECT_EQ(m.modem.mode(), SimModem::Mode::Restarting);
    // Still at 115200: the boot loader keeps quiet, and commands go unheard.
    EXPECT_EQ(m.wait(300'000), "");
    EXPECT_EQ(m.send("AT+V22\r"), "");
    m.setLine(kBootLoaderBaud);
    const std::int64_t openedUs = m.nowUs;
    m.modem.advanceTo(m.nowUs);
    const auto out = m.modem.takeOutput();
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].bytes, "!");
    EXPECT_EQ(out[0].startUs, openedUs);
}

TEST(BootLoader, AnnouncementWaitsForTheConfiguredDelay) {
    ModemExchange m(quickRestart());
    EXPECT_EQ(m.send("AT+V39\r"), "\r\nOK\r\n");
    const std::int64_t okEnd = m.lastEndUs;
    m.setLine(kBootLoaderBaud);
    m.modem.advanceTo(m.nowUs);
    EXPECT_TRUE(m.modem.takeOutput().empty());
    EXPECT_EQ(m.modem.nextDueUs(), okEnd + 200'000);
    EXPECT_EQ(m.wait(200'000), "!");
}

TEST(BootLoader, ProgrammingStoresGoodBlocksAndReportsTheNewVersion) {
    ModemExchange m(quickRestart());
    ASSERT_EQ(enterBootLoader(m), "!");
    std::vector<std::uint8_t> expected(kProgramPages * kPageSize, 0xFF);
    for (int page = 0; page < static_cast<int>(kProgramPages); ++page) {
        std::string block = bootBlock(page, static_cast<std::uint8_t>(page));
        if (page == 7) {
            // A bad checksum is answered differently and the page is not stored.
            EXPECT_EQ(m.send(bootBlock(page, 0x99, 5)), std::string(1, kBlockRejected));
        }
        if (page == 10) {
            const std::string mark = "     Ver0307";
            std::copy(mark.begin(), mark.end(), block.begin() + 3 + 16);
            unsigned sum = 0;
            for (std::size_t i = 0; i + 1 < block.size(); ++i)
                sum += static_cast<unsigned char>(block[i]);
            block.back() = static_cast<char>((0x100 - (sum & 0xFF)) & 0xFF);
        }
        std::copy(block.begin() + 3, block.begin() + 259, expected.begin() + page * 256);
        ASSERT_EQ(m.send(block), std::string(1, kBlockAccepted)) << page;
    }
    EXPECT_EQ(m.modem.store().program, expected);
    // After the last page the new firmware runs at 115200 and reports its version.
    EXPECT_EQ(m.modem.mode(), SimModem::Mode::Firmware);
    m.setLine(kFirmwareBaud);
    EXPECT_EQ(m.send("AT+V22\r").substr(10, 4), "0307");
}

TEST(BootLoader, ImageWithoutVersionMarkKeepsTheOldVersion) {
    ModemExchange m(quickRestart());
    ASSERT_EQ(enterBootLoader(m), "!");
    for (int page = 0; page < static_cast<int>(kProgramPages); ++page)
        ASSERT_EQ(m.send(bootBlock(page, 0x5C)), std::string(1, kBlockAccepted));
    m.setLine(kFirmwareBaud);
    EXPECT_EQ(m.send("AT+V22\r").substr(10, 4), "0205");
}

TEST(BootLoader, IdleBootLoaderStartsTheFirmwareAgain) {
    ModemExchange m(quickRestart());
    ASSERT_EQ(enterBootLoader(m), "!");
    ASSERT_EQ(m.send(bootBlock(0, 0x01)), std::string(1, kBlockAccepted));
    EXPECT_EQ(m.wait(999'000), "");
    EXPECT_EQ(m.modem.mode(), SimModem::Mode::BootLoader);
    m.wait(1'000);
    EXPECT_EQ(m.modem.mode(), SimModem::Mode::Firmware);
    m.setLine(kFirmwareBaud);
    EXPECT_EQ(m.send("AT+V23\r"), "\r\nOK\r\n");
}

TEST(BootLoader, NobodyListeningMeansTheFirmwareComesBack) {
    ModemExchange m(quickRestart());
    EXPECT_EQ(m.send("AT+V39\r"), "\r\nOK\r\n");
    EXPECT_EQ(m.wait(1'300'000), "");
    EXPECT_EQ(m.modem.mode(), SimModem::Mode::Firmware);
    EXPECT_EQ(m.send("AT+V23\r"), "\r\nOK\r\n");
}

TEST(BootLoader, OldFirmwareNeedsAPowerCycle) {
    ModemExchange m(quickRestart(), "0204");
    EXPECT_EQ(m.send("AT+V39\r"), "\r\nERROR\r\n");
    EXPECT_EQ(m.modem.mode(), SimModem::Mode::Firmware);
    m.modem.powerCycle(m.nowUs);
    m.setLine(kBootLoaderBaud);
    EXPECT_EQ(m.wait(200'000), "!");
}

}  // namespace
}  // namespace zelar::sim
