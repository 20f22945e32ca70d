#include <gtest/gtest.h>

#include "settings/bytes.h"
#include "settings/screen_blocks.h"
#include "settings/serial_number.h"

namespace zelar {
namespace {

using test::concat;
using test::hexBytes;
using test::textBytes;

std::vector<std::uint8_t> spaces(std::size_t n) {
    return std::vector<std::uint8_t>(n, ' ');
}
std::vector<std::uint8_t> zeros(std::size_t n) {
    return std::vector<std::uint8_t>(n, 0);
}

TEST(SerialNumber, LeadingPartInDecimalThenSixDigits) {
    const std::uint8_t seven[] = {0x12, 0x34, 0x56, 0x07};
    const std::uint8_t seventySeven[] = {0x12, 0x34, 0x56, 0x4D};
    const std::uint8_t wide[] = {0x00, 0x00, 0x01, 0xFF};
    EXPECT_EQ(serialNumberText(seven), "7123456");
    EXPECT_EQ(serialNumberText(seventySeven), "77123456");
    EXPECT_EQ(serialNumberText(wide), "255000001");
    EXPECT_EQ(decodeSerialNumber(hexBytes("12345607")), "7123456");
    EXPECT_FALSE(decodeSerialNumber(hexBytes("123456")));
}

TEST(SerialNumber, ComposedFromTheFieldText) {
    const auto write = composeSerialNumberWrite("12345678");
    ASSERT_TRUE(write);
    EXPECT_EQ(write->address, 0x0221);
    EXPECT_EQ(write->data, hexBytes("34 56 78 0C"));
    for (const std::uint8_t lead : {0, 7, 77, 255}) {
        const std::array<std::uint8_t, 4> bytes = {0x01, 0x23, 0x45, lead};
        EXPECT_EQ(encodeSerialNumber(serialNumberText(bytes)), bytes) << int(lead);
    }
}

TEST(SerialNumber, PackedBytesThatAreNotDecimalSurviveTheRoundTrip) {
    const std::array<std::uint8_t, 4> bytes = {0x1A, 0xFF, 0x00, 0x05};
    EXPECT_EQ(serialNumberText(bytes), "51AFF00");
    EXPECT_EQ(encodeSerialNumber("51AFF00"), bytes);
}

TEST(SerialNumber, MalformedTextIsNeverComposed) {
    for (std::string_view text : {"", "123456", "2561234567", "1234123456", "x123456", "12345g78",
                                  "-1123456", "7 23456", "7123 56"})
        EXPECT_FALSE(composeSerialNumberWrite(text)) << "'" << text << "'";
}

TEST(VoiceCall, DecodesAndRoundTrips) {
    const auto bytes =
        concat({hexBytes("08 3C"), textBytes("+79161234567"), textBytes("89121     "), spaces(2),
                spaces(12), textBytes("112 abc     "), spaces(12), hexBytes("01")});
    ASSERT_EQ(bytes.size(), 63u);
    const auto block = decodeVoiceCall(bytes);
    ASSERT_TRUE(block);
    EXPECT_EQ(block->microphone, 8);
    EXPECT_EQ(block->speaker, 60);
    EXPECT_EQ(block->numbers[0], "+79161234567");
    EXPECT_EQ(block->numbers[1], "89121");
    EXPECT_EQ(block->numbers[2], "");
    EXPECT_EQ(block->numbers[3], "112");
    EXPECT_TRUE(block->outgoingAllowed);

    VoiceCallBlock canonical = *block;
    canonical.numbers[3] = "112";
    const auto write = ComposeRegionWrite(canonical);
    ASSERT_TRUE(write);
    EXPECT_EQ(write->address, 0x0225);
    auto expected = bytes;
    std::fill(expected.begin() + 2 + 36 + 3, expected.begin() + 2 + 48, ' ');
    EXPECT_EQ(write->data, expected);
}

TEST(VoiceCall, EnableByteReadThroughItsLowHexDigit) {
    auto bytes = concat({hexBytes("01 01"), spaces(60), hexBytes("10")});
    EXPECT_FALSE(decodeVoiceCall(bytes)->outgoingAllowed);
    bytes.back() = 0x02;
    EXPECT_TRUE(decodeVoiceCall(bytes)->outgoingAllowed);
    EXPECT_EQ(encodeVoiceCall(*decodeVoiceCall(bytes))->back(), 0x01);
}

TEST(VoiceCall, ShortPayloadOrLongNumberIsRefused) {
    EXPECT_FALSE(decodeVoiceCall(zeros(62)));
    VoiceCallBlock block;
    block.numbers[4] = "1234567890123";
    EXPECT_FALSE(ComposeRegionWrite(block));
}

TEST(IncomingCall, ZeroBytesDroppedSpacesKept) {
    const auto bytes = concat(
        {hexBytes("11"), textBytes("8912"), zeros(8), textBytes("8 912"), zeros(7), zeros(12)});
    const auto block = decodeIncomingCall(bytes);
    ASSERT_TRUE(block);
    EXPECT_TRUE(block->incomingAllowed);
    EXPECT_EQ(block->numbers[0], "8912");
    EXPECT_EQ(block->numbers[1], "8 912");
    EXPECT_EQ(block->numbers[2], "");
    EXPECT_FALSE(decodeIncomingCall(zeros(36)));
}

TEST(IncomingCall, NumbersArePaddedWithZeroBytes) {
    IncomingCallBlock block;
    block.numbers[0] = "112";
    const auto write = ComposeRegionWrite(block);
    ASSERT_TRUE(write);
    EXPECT_EQ(write->address, 0x0264);
    EXPECT_EQ(write->data, concat({hexBytes("00"), textBytes("112"), zeros(9), zeros(24)}));

    const auto stored = concat({hexBytes("01"), textBytes("+79161234567"), textBytes("8912"),
                                zeros(8), textBytes("1 2"), zeros(9)});
    EXPECT_EQ(encodeIncomingCall(*decodeIncomingCall(stored)), stored);
}

TEST(AutoDetect, BitsOfTheLowHexDigit) {
    const std::pair<std::uint8_t, std::pair<bool, bool>> cases[] = {
        {0x00, {false, false}}, {0x01, {true, false}},  {0x02, {false, true}},
        {0x03, {true, true}},   {0xF0, {false, false}}, {0x13, {true, true}},
    };
    for (const auto& [byte, expected] : cases) {
        const std::uint8_t payload[] = {byte};
        const auto flags = decodeAutoDetect(payload);
        ASSERT_TRUE(flags);
        EXPECT_EQ(flags->sim1, expected.first) << int(byte);
        EXPECT_EQ(flags->sim2, expected.second) << int(byte);
    }
    EXPECT_FALSE(decodeAutoDetect({}));
    EXPECT_EQ(ComposeRegionWrite(AutoDetectFlags{true, true}).data, hexBytes("03"));
    EXPECT_EQ(ComposeRegionWrite(AutoDetectFlags{false, true}).data, hexBytes("02"));
    EXPECT_EQ(ComposeRegionWrite(AutoDetectFlags{}).address, 0x0218);
}

TEST(OperatingMode, TerminalOnlyWhenTheLowHexDigitIsOne) {
    const std::pair<std::uint8_t, OperatingMode> cases[] = {
        {0x01, OperatingMode::Terminal},  {0x11, OperatingMode::Terminal},
        {0x02, OperatingMode::EndDevice}, {0x00, OperatingMode::EndDevice},
        {0x10, OperatingMode::EndDevice},
    };
    for (const auto& [byte, mode] : cases) {
        const std::uint8_t payload[] = {byte};
        EXPECT_EQ(decodeOperatingMode(payload), mode) << int(byte);
    }
    EXPECT_FALSE(decodeOperatingMode({}));
    EXPECT_EQ(ComposeRegionWrite(OperatingMode::EndDevice).data, hexBytes("02"));
    EXPECT_EQ(ComposeRegionWrite(OperatingMode::Terminal).address, 0x0220);
}

TEST(Imei, FifteenCharactersOfTheBlock) {
    const auto bytes = concat({textBytes("356938035643809"), hexBytes("FF")});
    EXPECT_EQ(decodeImei(bytes), "356938035643809");
    EXPECT_FALSE(decodeImei(textBytes("356938035643809")));
    // A shorter IMEI is padded with NULs, which are no part of it.
    EXPECT_EQ(decodeImei(concat({textBytes("35693803"), hexBytes("0000000000000000")})),
              "35693803");
}

}  // namespace
}  // namespace zelar
