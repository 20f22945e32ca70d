#include "trace_file.h"

#include <filesystem>
#include <system_error>

#include "platform/file_path.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zelar::cli {

namespace fs = std::filesystem;

// Whether the name leads to the file that stdin reads (a pipe, a terminal, a file), as device
// and inode say: /dev/stdin and /proc/self/fd/0 are two of its many names.
bool isStdin(const std::string& path) {
#ifdef _WIN32
    return path == "CON" || path == "CONIN$";
#else
    struct stat named {};
    struct stat input {};
    return ::stat(path.c_str(), &named) == 0 && ::fstat(STDIN_FILENO, &input) == 0 &&
           named.st_dev == input.st_dev && named.st_ino == input.st_ino;
#endif
}

bool sameFile(const std::string& first, const std::string& second) {
    const fs::path a = filePath(first);
    const fs::path b = filePath(second);
    std::error_code error;
    // Existing files are compared as the system sees them (device and inode), so links and hard
    // links count.
    if (fs::exists(a, error) && fs::exists(b, error))
        return fs::equivalent(a, b, error);
    const fs::path left = fs::weakly_canonical(fs::absolute(a, error), error);
    const fs::path right = fs::weakly_canonical(fs::absolute(b, error), error);
    return !error && left == right;
}

}  // namespace zelar::cli
