#include "platform/file_lock.h"

#include <filesystem>
#include <system_error>

#include "platform/file_path.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace zelar {

namespace {

namespace fs = std::filesystem;

std::string utf8Name(const fs::path& path) {
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

constexpr std::intptr_t kNoHandle = -1;

#ifdef _WIN32

// Opened with no sharing, so a second opening fails until this handle closes, and removed by
// the system when it closes, also when the program is killed. kNoHandle when not taken, with
// `held` when another program has it.
std::intptr_t openLocked(const std::string& lockName, bool& held) {
    const HANDLE handle =
        ::CreateFileW(filePath(lockName).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                      OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    held = handle == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_SHARING_VIOLATION;
    return handle == INVALID_HANDLE_VALUE ? kNoHandle : reinterpret_cast<std::intptr_t>(handle);
}

#else

bool sameFile(int fd, const std::string& name) {
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::stat(name.c_str(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

// The lock file opened and locked; kNoHandle when not taken, with `held` when another program
// has it.
std::intptr_t openLocked(const std::string& lockName, bool& held) {
    held = false;
    // A holder removes the lock file as it lets go: a lock won on a file already removed guards
    // nothing, so the file is opened again. Three rounds cover holders letting go meanwhile.
    for (int round = 0; round < 3; ++round) {
        const int fd =
            ::open(lockName.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, S_IRUSR | S_IWUSR);
        if (fd < 0)
            return kNoHandle;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            held = errno == EWOULDBLOCK;
            ::close(fd);
            return kNoHandle;
        }
        if (sameFile(fd, lockName))
            return fd;
        ::close(fd);
    }
    held = true;
    return kNoHandle;
}

#endif

}  // namespace

std::string lockTarget(const std::string& path) {
    std::error_code error;
    fs::path resolved = fs::weakly_canonical(filePath(path), error);
    if (error)
        resolved = fs::absolute(filePath(path), error);
    return utf8Name(error ? filePath(path) : resolved);
}

std::string lockFileName(const std::string& target) {
    const fs::path path = filePath(target);
    return utf8Name(path.parent_path() / fs::path(u8"." + path.filename().u8string() + u8".lock"));
}

FileLockAttempt FileLock::take(const std::string& path) {
    std::string target = lockTarget(path);
    std::string lockName = lockFileName(target);
    bool held = false;
    const std::intptr_t handle = openLocked(lockName, held);
    if (handle == kNoHandle)
        return {nullptr, held};
    return {std::shared_ptr<FileLock>(new FileLock(std::move(target), std::move(lockName), handle)),
            false};
}

FileLock::~FileLock() {
#ifdef _WIN32
    ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
#else
    // Removed while still held, so that nobody takes the lock of a file about to go.
    ::unlink(lockName_.c_str());
    ::close(static_cast<int>(handle_));
#endif
}

}  // namespace zelar
