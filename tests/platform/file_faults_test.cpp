// The system calls of the private-file code fail on demand: the linker sends this program's
// calls of write, read, fsync, fchmod and the file rename here first (--wrap).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <system_error>

#include "platform/file_errors.h"
#include "platform/regular_files.h"

namespace fs = std::filesystem;

namespace {

enum class Call { Write, Read, Fsync, Fchmod, Rename };

// The next `times` calls of `call` on a file (not the test's own output) fail with `error`.
struct Armed {
    Call call = Call::Write;
    int times = 0;
    int error = 0;
};
Armed armed;

bool fails(Call call, int fd = 3) {
    if (fd <= 2 || armed.call != call || armed.times == 0)
        return false;
    --armed.times;
    errno = armed.error;
    return true;
}

}  // namespace

extern "C" {
ssize_t __real_write(int, const void*, size_t);
ssize_t __real_read(int, void*, size_t);
int __real_fsync(int);
int __real_fchmod(int, mode_t);

ssize_t __wrap_write(int fd, const void* bytes, size_t size) {
    return fails(Call::Write, fd) ? -1 : __real_write(fd, bytes, size);
}
ssize_t __wrap_read(int fd, void* bytes, size_t size) {
    return fails(Call::Read, fd) ? -1 : __real_read(fd, bytes, size);
}
int __wrap_fsync(int fd) {
    return fails(Call::Fsync, fd) ? -1 : __real_fsync(fd);
}
int __wrap_fchmod(int fd, mode_t mode) {
    return fails(Call::Fchmod, fd) ? -1 : __real_fchmod(fd, mode);
}
void __real__ZNSt10filesystem6renameERKNS_7__cxx114pathES3_RSt10error_code(const fs::path&,
                                                                           const fs::path&,
                                                                           std::error_code&);
void __wrap__ZNSt10filesystem6renameERKNS_7__cxx114pathES3_RSt10error_code(const fs::path& from,
                                                                           const fs::path& to,
                                                                           std::error_code& code) {
    if (fails(Call::Rename)) {
        code.assign(armed.error, std::generic_category());
        return;
    }
    __real__ZNSt10filesystem6renameERKNS_7__cxx114pathES3_RSt10error_code(from, to, code);
}
}

namespace zelar {
namespace {

class FileFaults : public ::testing::Test {
  protected:
    FileFaults() {
        dir_ = fs::path(::testing::TempDir()) / ("file-faults-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        std::ofstream(path()) << "old";
        fs::permissions(path(), fs::perms(0640));
    }
    ~FileFaults() override {
        armed = {};
        fs::remove_all(dir_);
    }
    std::string path() const { return (dir_ / "a.md2").string(); }
    std::set<std::string> names() const {
        std::set<std::string> out;
        for (const auto& entry : fs::directory_iterator(dir_))
            out.insert(entry.path().filename().string());
        return out;
    }

    fs::path dir_;
};

struct ReplaceCase {
    const char* name;
    Armed fault;
    std::string error;  // empty: the file is replaced
};

// A failed replacement says why, leaves the old file as it was and no temporary file behind;
// an interrupted write goes on and is no failure.
TEST_F(FileFaults, ReplacingAFile) {
    const std::vector<ReplaceCase> cases = {
        {"write interrupted twice", {Call::Write, 2, EINTR}, ""},
        {"disk full", {Call::Write, 1, ENOSPC}, fileErrorText(ENOSPC)},
        {"write refused for good", {Call::Write, 1000, EIO}, fileErrorText(EIO)},
        {"flush to the disk fails", {Call::Fsync, 1, EIO}, fileErrorText(EIO)},
        {"mode cannot be kept", {Call::Fchmod, 1, EPERM}, fileErrorText(EPERM)},
        {"rename refused", {Call::Rename, 1, EXDEV}, fileErrorText(EXDEV)},
    };
    // Larger than one write's part, so that writing goes on after an interruption.
    const std::string bytes(300'000, 'n');
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(path(), std::ios::trunc) << "old";
        armed = c.fault;
        EXPECT_EQ(replaceFile(path(), bytes), c.error);
        armed = {};
        const auto content = readRegularFile(path(), bytes.size());
        ASSERT_TRUE(content.bytes);
        EXPECT_EQ(*content.bytes, c.error.empty() ? bytes : "old");
        EXPECT_EQ(names(), std::set<std::string>{"a.md2"});
        EXPECT_EQ(fs::status(path()).permissions(), fs::perms(0640));
    }
}

TEST_F(FileFaults, ReadingAFile) {
    armed = {Call::Read, 3, EINTR};
    EXPECT_EQ(readRegularFile(path(), 100).bytes, "old");
    armed = {Call::Read, 1, EIO};
    const auto failed = readRegularFile(path(), 100);
    EXPECT_FALSE(failed.bytes);
    EXPECT_EQ(failed.error, "Ошибка ввода-вывода");
}

}  // namespace
}  // namespace zelar
