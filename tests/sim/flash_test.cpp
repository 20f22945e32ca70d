#include <gtest/gtest.h>

#include "sim/modem_exchange.h"

namespace zelar::sim {
namespace {

using test::ModemExchange;

std::string framed(const std::string& payload) {
    return "\r\n" + payload + "\r\nOK\r\n";
}

std::string repeat(const std::string& pair, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += pair;
    return out;
}

TEST(PageBuffer, ChunksAreWrittenAndReadAtTheirOffsets) {
    ModemExchange m;
    EXPECT_EQ(m.send("AT+V1800400020" + repeat("A5", 32) + "\r"), "\r\nOK\r\n");
    const std::string chunk = m.send("AT+V1900400020\r");
    EXPECT_EQ(chunk.size(), 72u);
    EXPECT_EQ(chunk, framed(repeat("A5", 32)));
    EXPECT_EQ(m.send("AT+V1900E00020\r").size(), 72u);
    // The buffer ends at 0xFF: a chunk past it is refused.
    EXPECT_EQ(m.send("AT+V1900F00020\r"), "\r\nERROR\r\n");
    EXPECT_EQ(m.send("AT+V1801000001FF\r"), "\r\nERROR\r\n");
    // Whole-buffer chunks are fine.
    EXPECT_EQ(m.send("AT+V1800000100" + repeat("11", 256) + "\r"), "\r\nOK\r\n");
    EXPECT_EQ(m.send("AT+V1900000100\r").size(), 2u * 256 + 8);
}

TEST(PageBuffer, StoringWritesTheWholeBufferIncludingStaleSlots) {
    ModemExchange m;
    // Fill the buffer with 0x22, then overwrite only slot 1 before storing into page 200.
    EXPECT_EQ(m.send("AT+V1800000100" + repeat("22", 256) + "\r"), "\r\nOK\r\n");
    EXPECT_EQ(m.send("AT+V1800200020" + repeat("33", 32) + "\r"), "\r\nOK\r\n");
    EXPECT_EQ(m.send("AT+V2000C8\r"), "\r\nOK\r\n");
    const auto& flash = m.modem.store().flash;
    const std::size_t base = 200 * 256;
    EXPECT_EQ(flash[base + 0x1F], 0x22);
    EXPECT_EQ(flash[base + 0x20], 0x33);
    EXPECT_EQ(flash[base + 0x3F], 0x33);
    EXPECT_EQ(flash[base + 0x40], 0x22);
    EXPECT_EQ(flash[base + 0xFF], 0x22);
    // Neighbouring pages are untouched (erased).
    EXPECT_EQ(flash[base - 1], 0xFF);
    EXPECT_EQ(flash[base + 256], 0xFF);
    // The buffer keeps its contents after a store: storing again copies the same bytes.
    EXPECT_EQ(m.send("AT+V2000C9\r"), "\r\nOK\r\n");
    EXPECT_EQ(flash[base + 256 + 0x20], 0x33);
}

TEST(PageBuffer, LoadingReplacesTheBufferWithThePage) {
    ModemExchange m;
    // Page 1 holds dictionary codes 0 to 7; code 1 is "Событие 1" in Windows-1251.
    EXPECT_EQ(m.send("AT+V210001\r"), "\r\nOK\r\n");
    const std::string record = m.send("AT+V1900200020\r");
    ASSERT_EQ(record.size(), 72u);
    EXPECT_EQ(record.substr(2, 18), "D1EEE1FBF2E8E52031");
    EXPECT_EQ(record.substr(62, 4), "0001");  // zero padding, then the type byte
    // Pages are numbered 0 to 511.
    EXPECT_EQ(m.send("AT+V2101FF\r"), "\r\nOK\r\n");
    EXPECT_EQ(m.send("AT+V210200\r"), "\r\nERROR\r\n");
    EXPECT_EQ(m.send("AT+V200200\r"), "\r\nERROR\r\n");
    EXPECT_EQ(m.send("AT+V2000010\r"), "\r\nERROR\r\n");
}

TEST(PageBuffer, DictionaryPlacementRoundTrip) {
    ModemExchange m;
    // Code 770 of the RPI+ dictionary: page 100 + 770 / 4 = 292 (0x0124), offset 64 * 2 = 0x80.
    EXPECT_EQ(m.send("AT+V210124\r"), "\r\nOK\r\n");
    EXPECT_EQ(m.send("AT+V1800800020" + repeat("5A", 32) + "\r"), "\r\nOK\r\n");
    EXPECT_EQ(m.send("AT+V200124\r"), "\r\nOK\r\n");
    EXPECT_EQ(m.send("AT+V1800800020" + repeat("00", 32) + "\r"), "\r\nOK\r\n");
    EXPECT_EQ(m.send("AT+V210124\r"), "\r\nOK\r\n");
    EXPECT_EQ(m.send("AT+V1900800020\r"), framed(repeat("5A", 32)));
    EXPECT_EQ(m.send("AT+V1900A00020\r"), framed(repeat("FF", 32)));
}

}  // namespace
}  // namespace zelar::sim
