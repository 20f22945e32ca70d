#include "link/commands.h"

#include <gtest/gtest.h>

namespace zelar {
namespace {

TEST(Commands, SettingsMemoryLines) {
    EXPECT_EQ(commandV17(0x0000, 8), "AT+V1700000008\r");
    EXPECT_EQ(commandV17(0x0225, 63), "AT+V170225003F\r");
    EXPECT_EQ(commandV17(0x07F0, 16), "AT+V1707F00010\r");
    EXPECT_EQ(commandV16(0x0005, {0x01, 0x02}), "AT+V16000500020102\r");
    EXPECT_EQ(commandV16(0x0218, {0x03}), "AT+V160218000103\r");
    EXPECT_EQ(commandV16(0x01C0, {0xAB, 0x0F}), "AT+V1601C00002AB0F\r");
}

TEST(Commands, FlashPageLines) {
    const std::vector<std::uint8_t> chunk(32, 0x5A);
    const std::string v18 = commandV18(0x40, chunk);
    EXPECT_EQ(v18.size(), 79u);
    EXPECT_EQ(v18.substr(0, 14), "AT+V1800400020");
    EXPECT_EQ(commandV20(96), "AT+V200060\r");
    EXPECT_EQ(commandV21(100), "AT+V210064\r");
    EXPECT_EQ(commandV19(192, 32), "AT+V1900C00020\r");
    EXPECT_EQ(commandV19(0xE0, 32), "AT+V1900E00020\r");
}

TEST(Commands, LinesWithoutFieldsAndDecimalV40) {
    EXPECT_EQ(commandV22(), "AT+V22\r");
    EXPECT_EQ(commandV23(), "AT+V23\r");
    EXPECT_EQ(commandV24(), "AT+V24\r");
    EXPECT_EQ(commandV25(), "AT+V25\r");
    EXPECT_EQ(commandV39(), "AT+V39\r");
    EXPECT_EQ(commandV40(5, 12, 7), "AT+V4000500127\r");
    EXPECT_EQ(commandV40(0, 4000, 6), "AT+V4000040006\r");
    EXPECT_EQ(commandV40(255, 2048, 4), "AT+V4025520484\r");
}

}  // namespace
}  // namespace zelar
