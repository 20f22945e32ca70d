#include "platform/regular_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <random>
#include <system_error>

#include "platform/file_errors.h"
#include "platform/file_path.h"

#ifdef _WIN32
#include <io.h>
#endif

namespace zelar {

namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr int kReadFlags = O_RDONLY | O_BINARY;
constexpr int kTemporaryFlags = O_WRONLY | O_CREAT | O_EXCL | O_BINARY;
constexpr int kPrivateFlags = O_WRONLY | O_CREAT | O_BINARY;
constexpr int kOwnerOnly = S_IREAD | S_IWRITE;
#else
// Not waiting for a writer or a line: a FIFO or a terminal swapped in after the check is
// opened at once and then refused.
constexpr int kReadFlags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
// A new name and never a link's target, whatever was planted at that name.
constexpr int kTemporaryFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
constexpr int kPrivateFlags = O_WRONLY | O_CREAT | O_NOCTTY | O_CLOEXEC;
constexpr mode_t kOwnerOnly = S_IRUSR | S_IWUSR;
#endif

constexpr std::size_t kChunk = 1 << 16;

// The system calls on a UTF-8 name: Windows reads a narrow name in its ANSI code page, so there
// the wide calls take it.
#ifdef _WIN32
using FileStatus = struct _stat64;
int statOf(const std::string& name, FileStatus* st) {
    return ::_wstat64(filePath(name).c_str(), st);
}
int statOf(int fd, FileStatus* st) {
    return ::_fstat64(fd, st);
}
int openName(const std::string& name, int flags, int mode = 0) {
    return ::_wopen(filePath(name).c_str(), flags, mode);
}
int unlinkName(const std::string& name) {
    return ::_wunlink(filePath(name).c_str());
}
int accessName(const std::string& name, int mode) {
    return ::_waccess(filePath(name).c_str(), mode);
}
#else
using FileStatus = struct stat;
int statOf(const std::string& name, FileStatus* st) {
    return ::stat(name.c_str(), st);
}
int statOf(int fd, FileStatus* st) {
    return ::fstat(fd, st);
}
int openName(const std::string& name, int flags, int mode = 0) {
    return ::open(name.c_str(), flags, static_cast<mode_t>(mode));
}
int unlinkName(const std::string& name) {
    return ::unlink(name.c_str());
}
int accessName(const std::string& name, int mode) {
    return ::access(name.c_str(), mode);
}
#endif

std::string utf8Name(const fs::path& path) {
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

std::string lastError() {
    return fileErrorText(errno);
}

// Closed on every path.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { close(); }
    void reset(int fd) {
        close();
        fd_ = fd;
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // False when the system reports the close failed (a write it could not finish).
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return fd < 0 || ::close(fd) == 0;
    }

  private:
    int fd_;
};

std::string kindProblem(const FileStatus& st) {
    if (S_ISDIR(st.st_mode))
        return kTextIsFolder;
    if (!S_ISREG(st.st_mode))
        return kTextNotRegularFile;
    return {};
}

// The file a write to `path` means: the one a link points to, else `path` itself.
fs::path targetOf(const std::string& path) {
    std::error_code code;
    if (fs::is_symlink(filePath(path), code)) {
        fs::path resolved = fs::canonical(filePath(path), code);
        if (!code)
            return resolved;
    }
    return filePath(path);
}

// A file of its own beside the target, removed again unless it was renamed into place.
class TemporaryFile {
  public:
    explicit TemporaryFile(const fs::path& target) {
        static std::mt19937_64 random{std::random_device{}()};
        const fs::path folder = target.parent_path();
        const std::string name = utf8Name(target.filename());
        errno = EEXIST;
        for (int attempt = 0; attempt < 100 && !file_.valid() && errno == EEXIST; ++attempt) {
            path_ = utf8Name(folder) + (folder.empty() ? "" : "/") + name + "." +
                    std::to_string(random() % 1000000000) + ".tmp";
            file_.reset(openName(path_, kTemporaryFlags, kOwnerOnly));
        }
        if (!file_.valid()) {
            error_ = lastError();
            path_.clear();
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        file_.close();
        if (!path_.empty())
            unlinkName(path_);
    }

    const std::string& error() const { return error_; }

    // The mode the replaced file had, so that replacing it does not widen or narrow who reads.
    std::string takeMode([[maybe_unused]] unsigned mode) {
#ifndef _WIN32
        if (::fchmod(file_.get(), static_cast<mode_t>(mode)) != 0)
            return lastError();
#endif
        return {};
    }

    std::string write(const std::string& bytes) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const std::size_t part = std::min(kChunk, bytes.size() - done);
            const auto wrote =
                ::write(file_.get(), bytes.data() + done, static_cast<unsigned>(part));
            if (wrote < 0 && errno == EINTR)
                continue;
            if (wrote <= 0)
                return lastError();
            done += static_cast<std::size_t>(wrote);
        }
        // On the disk before the rename, so that a crash leaves the old file or the new one.
#ifdef _WIN32
        const int synced = ::_commit(file_.get());
#else
        const int synced = ::fsync(file_.get());
#endif
        if (synced != 0 || !file_.close())
            return lastError();
        return {};
    }

    std::string renameTo(const fs::path& target) {
        std::error_code code;
        fs::rename(filePath(path_), target, code);
        if (code)  // as an errno number, whatever the system's own numbering
            return fileErrorText(code.default_error_condition().value());
        path_.clear();
        return {};
    }

  private:
    Descriptor file_{-1};
    std::string path_;
    std::string error_;
};

// The reason the target cannot be replaced, if any; its mode when it exists.
std::string targetProblem(const fs::path& target, std::optional<unsigned>& mode) {
    FileStatus st{};
    if (statOf(utf8Name(target), &st) != 0)
        return errno == ENOENT ? std::string() : lastError();
    if (std::string problem = kindProblem(st); !problem.empty())
        return problem;
    // A file its owner made read-only stays as it is, though its folder would take a new one.
    if (accessName(utf8Name(target), W_OK) != 0)
        return lastError();
    mode = static_cast<unsigned>(st.st_mode) & 07777u;
    return {};
}

}  // namespace

FileRead readRegularFile(const std::string& path, std::size_t limit) {
    FileStatus st{};
    if (statOf(path, &st) != 0)
        return {std::nullopt, lastError()};
    if (std::string problem = kindProblem(st); !problem.empty())
        return {std::nullopt, problem};
    Descriptor file(openName(path, kReadFlags));
    if (!file.valid())
        return {std::nullopt, lastError()};
    // The name may have been given to something else between the two looks.
    if (statOf(file.get(), &st) != 0)
        return {std::nullopt, lastError()};
    if (std::string problem = kindProblem(st); !problem.empty())
        return {std::nullopt, problem};

    std::string bytes;
    const std::size_t wanted = limit + 1;
    while (bytes.size() < wanted) {
        const std::size_t had = bytes.size();
        const std::size_t part = std::min(kChunk, wanted - had);
        bytes.resize(had + part);
        const auto got = ::read(file.get(), bytes.data() + had, static_cast<unsigned>(part));
        if (got < 0 && errno == EINTR) {
            bytes.resize(had);
            continue;
        }
        if (got < 0)
            return {std::nullopt, lastError()};
        bytes.resize(had + static_cast<std::size_t>(got));
        if (got == 0)
            break;
    }
    return {std::move(bytes), {}};
}

std::string replaceFile(const std::string& path, const std::string& bytes) {
    const fs::path target = targetOf(path);
    std::optional<unsigned> mode;
    if (std::string problem = targetProblem(target, mode); !problem.empty())
        return problem;
    TemporaryFile temporary(target);
    if (!temporary.error().empty())
        return temporary.error();
    if (mode) {
        if (std::string problem = temporary.takeMode(*mode); !problem.empty())
            return problem;
    }
    if (std::string problem = temporary.write(bytes); !problem.empty())
        return problem;
    return temporary.renameTo(target);
}

std::string replaceFileProblem(const std::string& path) {
    const fs::path target = targetOf(path);
    std::optional<unsigned> mode;
    if (std::string problem = targetProblem(target, mode); !problem.empty())
        return problem;
    return TemporaryFile(target).error();
}

std::string appendFileProblem(const std::string& path) {
    const fs::path target = targetOf(path);
    std::optional<unsigned> mode;
    if (std::string problem = targetProblem(target, mode); !problem.empty())
        return problem;
    return mode ? std::string() : TemporaryFile(target).error();
}

std::string createPrivateFile(const std::string& path) {
    Descriptor file(openName(path, kPrivateFlags, kOwnerOnly));
    if (!file.valid())
        return lastError();
    return file.close() ? std::string() : lastError();
}

}  // namespace zelar
