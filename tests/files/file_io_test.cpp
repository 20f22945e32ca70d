#include "files/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace zelar {
namespace {

namespace fs = std::filesystem;

class FileIo : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("zelar-files-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path dir_;
};

TEST_F(FileIo, ReplacesTheFileWhole) {
    const std::string path = (dir_ / "a.md2").string();
    std::ofstream(path) << "old contents that are longer";
    EXPECT_EQ(writeFileReplacing(path, "new"), "");
    EXPECT_EQ(readFileUpTo(path, 100), "new");
    EXPECT_FALSE(fs::exists(path + ".tmp"));
}

TEST_F(FileIo, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
    // The temporary file cannot be created: its name is taken by a folder.
    const std::string path = (dir_ / "a.md2").string();
    std::ofstream(path) << "old";
    fs::create_directories(path + ".tmp/x");
    EXPECT_NE(writeFileReplacing(path, "new"), "");
    EXPECT_EQ(readFileUpTo(path, 100), "old");

    // The rename fails: the name is a folder that is not empty.
    const std::string folder = (dir_ / "b.md2").string();
    fs::create_directories(folder + "/x");
    EXPECT_NE(writeFileReplacing(folder, "new"), "");
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_FALSE(fs::exists(folder + ".tmp"));
}

TEST_F(FileIo, ReadingStopsPastTheLimitAndRefusesWhatIsNoFile) {
    const std::string path = (dir_ / "a.md2").string();
    std::ofstream(path) << "0123456789";
    EXPECT_EQ(readFileUpTo(path, 4), "01234");
    EXPECT_FALSE(readFileUpTo((dir_ / "none.md2").string(), 100));
    EXPECT_FALSE(readFileUpTo(dir_.string(), 100));
}

TEST_F(FileIo, NamesAreUtf8OnEverySystem) {
    // A Russian user's folders have Cyrillic names; the program holds them as UTF-8.
    const fs::path file = dir_ / u8"Настройки модема" / u8"объект №1.md2";
    fs::create_directories(file.parent_path());
    const std::u8string name = file.u8string();
    const std::string utf8(name.begin(), name.end());
    EXPECT_EQ(writeFileReplacing(utf8, "first"), "");
    EXPECT_EQ(writeFileReplacing(utf8, "second"), "");
    EXPECT_EQ(readFileUpTo(utf8, 100), "second");
    EXPECT_TRUE(fs::exists(file));
}

}  // namespace
}  // namespace zelar
