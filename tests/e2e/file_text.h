#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace zelar::test {

// The whole content of a file; empty when it cannot be read.
inline std::string slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace zelar::test
