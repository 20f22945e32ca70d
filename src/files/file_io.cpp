#include "files/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/file_path.h"

namespace zelar {

std::optional<std::string> readFileUpTo(const std::string& path, std::size_t limit) {
    std::error_code code;
    if (std::filesystem::is_directory(filePath(path), code))
        return std::nullopt;
    std::ifstream file(filePath(path), std::ios::binary);
    if (!file)
        return std::nullopt;
    std::string bytes(limit + 1, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (file.bad())
        return std::nullopt;
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return bytes;
}

namespace {

std::FILE* openForWriting(const std::filesystem::path& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"wb");
#else
    return std::fopen(path.c_str(), "wb");
#endif
}

}  // namespace

std::string writeFileReplacing(const std::string& path, const std::string& bytes) {
    const std::filesystem::path target = filePath(path);
    const std::filesystem::path temporary = filePath(path + ".tmp");
    std::FILE* file = openForWriting(temporary);
    if (!file)
        return std::strerror(errno);
    std::string error;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fflush(file) != 0)
        error = std::strerror(errno);
    if (std::fclose(file) != 0 && error.empty())
        error = std::strerror(errno);
    if (error.empty()) {
        std::error_code code;
        std::filesystem::rename(temporary, target, code);
        if (code)
            error = code.message();
    }
    if (!error.empty()) {
        std::error_code ignored;  // the failure reported is the write's, not the clean-up's
        std::filesystem::remove(temporary, ignored);
    }
    return error;
}

}  // namespace zelar
