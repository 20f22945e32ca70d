#include "sim_options.h"

#include <gtest/gtest.h>

namespace zelar::simtool {
namespace {

// A bad value stops the simulator with a message naming the option and the value, before any
// pty is made; a fault run with a silently different value would test something else.
TEST(SimOptions, BadValuesAreRefusedByName) {
    const std::vector<std::vector<std::string>> cases = {
        {"--com", "-5"},
        {"--com", "+5"},
        {"--com", "5x"},
        {"--com", "0x"},
        {"--com", ""},
        {"--firmware", "205"},
        {"--firmware", "02a5"},
        {"--boot-loader", "1020"},
        {"--balance", "12,5"},
        {"--balance", ""},
        {"--stop-after", "1000000001"},
        {"--split-gap-ms", " 5"},
        {"--stray", ""},
        {"--stray", "\\q"},
        {"--stray", "ends\\"},
        {"--stray", "\\x4"},
        {"--stray", "\\xZZ"},
        {"--boot-noise", "\\x"},
        {"--piece-gap-ms", "9-5"},
        {"--piece-gap-ms", "5-"},
        {"--corrupt-char", "GG"},
        {"--fault", "loud"},
        {"--boot-fault", "loud"},
        {"--signal-levels", "1,,2"},
        {"--signal-levels", "17,"},
        {"--signal-levels", "256"},
        {"--signal-walk", "0"},
        {"--signal-walk", "32"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args[0] + " " + args[1]);
        const ParsedOptions parsed = parseOptions(args);
        EXPECT_FALSE(parsed.options);
        EXPECT_NE(parsed.error.find("bad value for " + args[0] + ": " + args[1]), std::string::npos)
            << parsed.error;
    }
}

// Values as written on a command line: escapes, hexadecimal (a leading 0 is no octal), ranges.
TEST(SimOptions, ValuesAreTakenAsWritten) {
    const ParsedOptions parsed = parseOptions(
        {"--stray", "\\r\\nA\\x42\\t\\\\", "--split-gap-ms", "0x10", "--late-ms", "010",
         "--piece-gap-ms", "5-9", "--boot-noise", "\\x00\\x01", "--firmware", "0203",
         "--corrupt-char", "Q", "--balance", "-1.5", "--signal-levels", "31,0x10,99"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    const auto& f = parsed.options->modem.faults;
    EXPECT_EQ(f.strayBytes, "\r\nAB\t\\");
    EXPECT_EQ(f.splitGapUs, 16'000);
    EXPECT_EQ(f.lateUs, 10'000);
    EXPECT_EQ(std::make_pair(f.pieceGapMinUs, f.pieceGapMaxUs),
              std::make_pair(std::int64_t{5'000}, std::int64_t{9'000}));
    EXPECT_EQ(f.bootNoise, std::string("\0\1", 2));
    EXPECT_EQ(parsed.options->firmware, "0203");
    EXPECT_EQ(f.corruptWith, 'Q');
    EXPECT_EQ(parsed.options->modem.signal.levels, (std::vector<std::uint8_t>{31, 16, 99}));
}

}  // namespace
}  // namespace zelar::simtool
