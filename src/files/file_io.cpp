#include "files/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace zelar {

std::optional<std::string> readWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::ostringstream bytes;
    bytes << file.rdbuf();
    if (file.bad())
        return std::nullopt;
    return bytes.str();
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
