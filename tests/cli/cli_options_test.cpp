#include "cli_options.h"

#include <gtest/gtest.h>

namespace zelar::cli {
namespace {

// A file name that starts with a slash is an argument on every system (CLI11 would take
// "/name" for an option on Windows).
TEST(CliOptions, AFileNameWithALeadingSlashIsAnArgument) {
    const ParseResult parsed = parseCliOptions({"script", "--port", "COM3", "/tmp/apn.script"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(parsed.options->files, std::vector<std::string>{"/tmp/apn.script"});
}

}  // namespace
}  // namespace zelar::cli
