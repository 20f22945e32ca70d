#pragma once

#include <string>
#include <vector>

namespace zelar::test {

// The lines of a settings file (CR LF after each) without their ends.
inline std::vector<std::string> crlfLines(const std::string& file) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < file.size();) {
        const std::size_t end = file.find("\r\n", at);
        lines.push_back(file.substr(at, end - at));
        at = end == std::string::npos ? file.size() : end + 2;
    }
    return lines;
}

}  // namespace zelar::test
