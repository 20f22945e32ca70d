#include <gtest/gtest.h>

#include "platform/event_pump.h"
#include "sim/boot_loader.h"
#include "sim/installed_modem.h"
#include "sim/modem_exchange.h"
#include "sim/sim_hex.h"
#include "sim/sim_serial_port.h"

// Whole operations as a host runs them, on the virtual clock: these must stay fast enough to
// run many times in unit tests (measured by the benchmarks, not asserted here).
namespace zelar::sim {
namespace {

class Transfers : public ::testing::Test {
  protected:
    Transfers() : modem(installedModem()), cable(clock, modem, 3), link(cable), bootLink(cable) {}

    void openLink(SimSerialPort& port, int baud) {
        LineSettings settings;
        settings.baudRate = baud;
        port.open(3, settings);
    }

    // Polls of 100 ms until `expected` characters have come or `polls` have passed.
    std::string collect(std::size_t expected, int polls = 50) {
        std::string reply;
        for (int i = 0; i < polls && reply.size() < expected; ++i) {
            PumpDelay(clock, 100);
            reply += link.readAll();
        }
        return reply;
    }
    std::string exchangeAfter(const std::string& line, int settleMs) {
        link.write(line);
        PumpDelay(clock, settleMs);
        return link.readAll();
    }

    VirtualClock clock;
    SimModem modem;
    SimCable cable;
    SimSerialPort link;
    SimSerialPort bootLink;
};

TEST_F(Transfers, FullSettingsRead) {
    struct Step {
        unsigned address;
        unsigned length;
    };
    const Step steps[] = {{0x0000, 8},  {0x0098, 32}, {0x00B8, 32}, {0x0008, 24}, {0x0020, 24},
                          {0x0038, 24}, {0x0050, 24}, {0x0068, 24}, {0x0080, 24}, {0x0120, 32},
                          {0x01A8, 24}, {0x07F0, 16}, {0x01C0, 44}, {0x01EC, 44}, {0x00D8, 24},
                          {0x00F0, 24}, {0x0108, 24}, {0x0140, 24}, {0x0158, 24}, {0x0170, 24},
                          {0x0218, 1},  {0x0219, 2},  {0x021C, 4},  {0x0221, 4},  {0x0225, 63},
                          {0x0264, 37}, {0x0220, 1}};
    openLink(link, 115200);
    link.purgeInput();
    link.write("AT+V22\r");
    ASSERT_EQ(collect(24).size(), 24u);
    const std::int64_t startMs = clock.tickMs();
    for (const Step& step : steps) {
        link.purgeInput();
        link.write("AT+V17" + hexfield::wordText(step.address) + hexfield::wordText(step.length) +
                   "\r");
        const std::string reply = collect(2 * step.length + 8);
        ASSERT_EQ(reply.size(), 2 * step.length + 8) << step.address;
        const auto bytes = hexfield::bytes(reply.substr(2, 2 * step.length));
        ASSERT_TRUE(bytes);
        EXPECT_TRUE(std::equal(bytes->begin(), bytes->end(),
                               modem.store().settings.begin() + step.address));
    }
    // Every reply is in by the first poll.
    EXPECT_EQ(clock.tickMs() - startMs, 27 * 100);
    link.close();
}

TEST_F(Transfers, DictionaryUploadAndDownloadOf768Records) {
    openLink(link, 115200);
    const auto record = [](unsigned code) {
        std::string text(32, '\0');
        const std::string name = "Code " + std::to_string(code);
        std::copy(name.begin(), name.end(), text.begin());
        text[31] = static_cast<char>(code & 0xFF);
        return text;
    };
    for (unsigned page = 1; page <= 96; ++page) {
        for (unsigned slot = 0; slot < 8; ++slot) {
            const std::string data = record((page - 1) * 8 + slot);
            const std::string line =
                "AT+V18" + hexfield::wordText(slot * 32) + "0020" +
                hexfield::bytesText(reinterpret_cast<const std::uint8_t*>(data.data()), 32) + "\r";
            ASSERT_EQ(line.size(), 79u);
            ASSERT_NE(exchangeAfter(line, 100).find("OK"), std::string::npos);
        }
        ASSERT_NE(exchangeAfter("AT+V20" + hexfield::wordText(page) + "\r", 150).find("OK"),
                  std::string::npos);
    }
    for (unsigned page = 1; page <= 96; ++page) {
        ASSERT_NE(exchangeAfter("AT+V21" + hexfield::wordText(page) + "\r", 40).find("OK"),
                  std::string::npos);
        for (unsigned slot = 0; slot < 8; ++slot) {
            const std::string reply =
                exchangeAfter("AT+V19" + hexfield::wordText(slot * 32) + "0020\r", 60);
            ASSERT_EQ(reply.size(), 72u);
            const auto bytes = hexfield::bytes(reply.substr(2, 64));
            ASSERT_TRUE(bytes);
            ASSERT_EQ(std::string(bytes->begin(), bytes->end()), record((page - 1) * 8 + slot));
        }
    }
}

TEST_F(Transfers, FirmwareProgrammingOf496Blocks) {
    std::vector<std::uint8_t> image(kProgramPages * kPageSize);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    const std::string mark = "     Ver0311";
    std::copy(mark.begin(), mark.end(), image.begin() + 5000);

    openLink(link, 115200);
    link.write("AT+V39\r");
    ASSERT_EQ(collect(6, 101), "\r\nOK\r\n");
    link.close();

    bool failed = false;
    int blocks = 0;
    bootLink.setReceivedHandler([&] {
        if (bootLink.readAll() != "!") {
            failed = true;
            return;
        }
        for (int page = 0; page < static_cast<int>(kProgramPages) && !failed; ++page) {
            std::string block = "W";
            block += static_cast<char>(page & 0xFF);
            block += static_cast<char>(page >> 8);
            block.append(image.begin() + page * 256, image.begin() + page * 256 + 256);
            unsigned sum = 0;
            for (char c : block)
                sum += static_cast<unsigned char>(c);
            block += static_cast<char>((0x100 - (sum & 0xFF)) & 0xFF);
            bootLink.write(block);
            PumpDelay(clock, 100);
            failed = bootLink.readAll().size() != 1;
            ++blocks;
        }
    });
    openLink(bootLink, 57600);
    PumpDelay(clock, 60'000);
    EXPECT_FALSE(failed);
    EXPECT_EQ(blocks, 496);
    EXPECT_EQ(modem.store().program, image);
    bootLink.close();

    openLink(link, 115200);
    link.write("AT+V22\r");
    EXPECT_EQ(collect(24).substr(10, 4), "0311");
}

}  // namespace
}  // namespace zelar::sim
