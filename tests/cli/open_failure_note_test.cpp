// The line zelar-cli adds after "Не могу открыть порт": why, and for missing rights what to do.
#include <gtest/gtest.h>

#include "open_failure_note.h"

namespace zelar::cli {
namespace {

using ui::OpenFailure;

TEST(OpenFailureNote, NamesThePortAndTheReason) {
    const struct {
        OpenFailure kind;
        std::string expected;
    } cases[] = {
        {OpenFailure::None, ""},
        {OpenFailure::NoDevice, "zelar-cli: COM7: no such device"},
        {OpenFailure::InUse, "zelar-cli: COM7: in use by another program"},
        {OpenFailure::Other, "zelar-cli: COM7: Input/output error"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(openFailureNote({c.kind, 7, "Input/output error"}), c.expected);
}

// Root-less users meet this first on a fresh Linux machine: the note says how to get the rights.
TEST(OpenFailureNote, DeniedSaysHowToJoinTheSerialGroup) {
    const std::string note = openFailureNote({OpenFailure::Denied, 33, {}});
    EXPECT_EQ(note.rfind("zelar-cli: COM33: permission denied", 0), 0u) << note;
#ifdef __linux__
    EXPECT_NE(note.find("dialout"), std::string::npos) << note;
    EXPECT_NE(note.find("sudo usermod -aG dialout $USER"), std::string::npos) << note;
    EXPECT_NE(note.find("log in again"), std::string::npos) << note;
#endif
}

}  // namespace
}  // namespace zelar::cli
