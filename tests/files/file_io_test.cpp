#include "files/file_io.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

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

    // The names in the folder, to show that no temporary file is left behind.
    std::set<std::string> names() const {
        std::set<std::string> found;
        for (const auto& entry : fs::directory_iterator(dir_))
            found.insert(entry.path().filename().string());
        return found;
    }

    fs::path dir_;
};

TEST_F(FileIo, ReplacesTheFileWhole) {
    const std::string path = (dir_ / "a.md2").string();
    std::ofstream(path) << "old contents that are longer";
    EXPECT_EQ(writeFileReplacing(path, "new"), "");
    EXPECT_EQ(readFileUpTo(path, 100), "new");
    EXPECT_EQ(names(), std::set<std::string>{"a.md2"});
}

TEST_F(FileIo, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
    // The temporary file cannot be created: its folder is missing.
    const std::string missing = (dir_ / "none" / "a.md2").string();
    EXPECT_EQ(writeFileReplacing(missing, "new"),
              "Не могу записать файл \"" + missing + "\": Нет такого файла или папки");
    EXPECT_EQ(outputFileProblem(missing), writeFileReplacing(missing, "new"));

    // The name is a folder that is not empty.
    const std::string folder = (dir_ / "b.md2").string();
    fs::create_directories(folder + "/x");
    EXPECT_EQ(writeFileReplacing(folder, "new"),
              "Не могу записать файл \"" + folder + "\": Это папка");
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(names(), std::set<std::string>{"b.md2"});
}

// Links, modes and FIFOs as POSIX systems have them.
#ifndef _WIN32
TEST_F(FileIo, TheTemporaryFileIsNewAndPrivateAndAReplacedFileKeepsItsMode) {
    // What sits at the old fixed temporary name is neither followed nor destroyed.
    const std::string path = (dir_ / "a.md2").string();
    const fs::path victim = dir_ / "victim";
    std::ofstream(victim) << "victim";
    fs::create_symlink(victim, path + ".tmp");
    ASSERT_EQ(outputFileProblem(path), "");
    EXPECT_EQ(writeFileReplacing(path, "secret"), "");
    EXPECT_EQ(readFileUpTo(victim.string(), 100), "victim");
    EXPECT_TRUE(fs::is_symlink(path + ".tmp"));
    EXPECT_EQ(names(), (std::set<std::string>{"a.md2", "a.md2.tmp", "victim"}));

    const auto mode = [](const fs::path& p) {
        struct stat st {};
        ::stat(p.c_str(), &st);
        return st.st_mode & 0777;
    };
    EXPECT_EQ(mode(path), 0600u);
    fs::permissions(path, fs::perms(0640));
    EXPECT_EQ(writeFileReplacing(path, "again"), "");
    EXPECT_EQ(mode(path), 0640u);

    // A link named as the file has the file it points to replaced, and stays a link.
    const fs::path link = dir_ / "link.md2";
    fs::create_symlink(path, link);
    EXPECT_EQ(writeFileReplacing(link.string(), "through"), "");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readFileUpTo(path, 100), "through");
}

TEST_F(FileIo, AFifoIsRefusedAtOnce) {
    // Neither the reading nor the check keeps the caller waiting for a writer.
    const std::string fifo = (dir_ / "fifo.md2").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(readFileUpTo(fifo, 100));
    EXPECT_EQ(inputFileProblem(fifo), "Не могу открыть файл \"" + fifo + "\": Это не обычный файл");
}
#endif

TEST_F(FileIo, ReadingStopsPastTheLimitAndRefusesWhatIsNoFile) {
    const std::string path = (dir_ / "a.md2").string();
    std::ofstream(path) << "0123456789";
    EXPECT_EQ(readFileUpTo(path, 4), "01234");
    EXPECT_FALSE(readFileUpTo((dir_ / "none.md2").string(), 100));
    EXPECT_FALSE(readFileUpTo(dir_.string(), 100));
    EXPECT_EQ(inputFileProblem(path), "");
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
