#include "trace_file.h"

#include <filesystem>
#include <system_error>

namespace zelar::cli {

namespace fs = std::filesystem;

bool sameFile(const std::string& first, const std::string& second) {
    const fs::path a(first);
    const fs::path b(second);
    std::error_code error;
    // Existing files are compared as the system sees them, so links and hard links count.
    if (fs::exists(a, error) && fs::exists(b, error))
        return fs::equivalent(a, b, error);
    const fs::path left = fs::weakly_canonical(fs::absolute(a, error), error);
    const fs::path right = fs::weakly_canonical(fs::absolute(b, error), error);
    return !error && left == right;
}

std::optional<std::string> traceSharedWithFile(const CliOptions& options) {
    // The arguments of `mode` are words, not files.
    if (options.trace.empty() || options.command == "mode")
        return std::nullopt;
    for (const std::string& file : options.files) {
        if (file != "-" && sameFile(options.trace, file))
            return file;
    }
    return std::nullopt;
}

}  // namespace zelar::cli
