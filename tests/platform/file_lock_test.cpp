#include "platform/file_lock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace zelar {
namespace {

namespace fs = std::filesystem;

class FileLockTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("zelar-lock-" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir / "sub");
        site = dir / "site.md2";
        std::ofstream(site) << "settings";
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path dir;
    fs::path site;
    std::string lockOf(const fs::path& p) const { return lockFileName(lockTarget(p.string())); }
};

// One holder for a file, whatever name leads to it; every other file stays free.
TEST_F(FileLockTest, OneHolderForAFileWhateverItsName) {
    const FileLockAttempt first = FileLock::take(site.string());
    ASSERT_TRUE(first.lock);
    EXPECT_TRUE(fs::exists(lockOf(site)));
    struct Row {
        const char* name;
        fs::path path;
        bool held;
    };
    std::vector<Row> rows = {
        {"the same name", site, true},
        {"the same file by a longer way", dir / "." / "sub" / ".." / "site.md2", true},
        {"another file beside it", dir / "other.md2", false},
        {"a file not made yet", dir / "new.md2", false},
        {"a name that only differs by an ending", dir / "site.md2.bak", false},
    };
#ifndef _WIN32
    fs::create_symlink(site, dir / "link.md2");
    rows.push_back({"a link to it", dir / "link.md2", true});
#endif
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const FileLockAttempt second = FileLock::take(row.path.string());
        EXPECT_EQ(second.heldElsewhere, row.held);
        EXPECT_EQ(second.lock == nullptr, row.held);
    }
}

// Let go, a file can be held again, and again refused to a second holder; nothing is left. A
// program killed while it held the file leaves the lock file behind, but not the system's lock
// on it: the next program takes it over.
TEST_F(FileLockTest, LetGoOrLeftBehindItIsFreeAgain) {
    std::ofstream(lockOf(site)) << "";  // as a killed holder leaves it
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        FileLockAttempt attempt = FileLock::take(site.string());
        ASSERT_TRUE(attempt.lock);
        EXPECT_TRUE(FileLock::take(site.string()).heldElsewhere);
        attempt.lock.reset();
        EXPECT_FALSE(fs::exists(lockOf(site)));
    }
}

// Where no lock file can be made, nobody can store the file through the atomic writer either:
// the caller goes on without a lock, not refused.
TEST_F(FileLockTest, NoLockAndNoRefusalWhereNoFileCanBeMade) {
    const FileLockAttempt attempt = FileLock::take((dir / "missing" / "site.md2").string());
    EXPECT_FALSE(attempt.lock);
    EXPECT_FALSE(attempt.heldElsewhere);
}

}  // namespace
}  // namespace zelar
