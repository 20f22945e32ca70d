#include "diagnostics/diagnostics_reply.h"

#include <gtest/gtest.h>

#include <bit>
#include <limits>

namespace zelar {
namespace {

TEST(FormatBalance, FixedWithTwoDecimalsAndSixSignificantDigits) {
    const float inf = std::numeric_limits<float>::infinity();
    struct Row {
        float value;
        const char* separator;
        const char* text;
    };
    const Row rows[] = {
        {50.0f, ",", "50,00"},
        {123.45f, ".", "123.45"},
        {0.004f, ".", "0.00"},
        {-0.004f, ".", "0.00"},
        {12345.67f, ".", "12345.70"},
        {99999.96f, ".", "100000.00"},
        {999999.0f, ".", "999999.00"},
        {1234567.0f, ",", "1,23457E+06"},
        {std::numeric_limits<float>::max(), ".", "3.40282E+38"},
        {std::numeric_limits<float>::quiet_NaN(), ".", "NAN"},
        {inf, ".", "INF"},
        {-inf, ".", "-INF"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(formatBalance(r.value, r.separator), r.text) << r.value;
}

TEST(DiagnosticsReply, TakenOnlyWhole) {
    // V25: the character after the level is the modem's own and never read.
    const auto faults = decodeFaultsReply("\r\n05021FX\r\nOK\r\n");
    ASSERT_TRUE(faults);
    EXPECT_EQ(faults->flags, 0x0205);
    EXPECT_EQ(faults->level, 0x1F);
    EXPECT_FALSE(decodeFaultsReply("\r\n05021F0\r\nOK\r\n\r\n"));
    EXPECT_FALSE(decodeFaultsReply("\r\n05g21F0\r\nOK\r\n"));
}

}  // namespace
}  // namespace zelar
