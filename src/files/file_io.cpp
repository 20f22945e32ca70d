#include "files/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace zelar {

std::optional<std::string> readFileUpTo(const std::string& path, std::size_t limit) {
    std::error_code code;
    if (std::filesystem::is_directory(path, code))
        return std::nullopt;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::string bytes(limit + 1, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (file.bad())
        return std::nullopt;
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return bytes;
}

std::string writeFileReplacing(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return std::strerror(errno);
    std::string error;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fflush(file) != 0)
        error = std::strerror(errno);
    if (std::fclose(file) != 0 && error.empty())
        error = std::strerror(errno);
    if (error.empty()) {
        std::error_code code;
        std::filesystem::rename(temporary, path, code);
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
