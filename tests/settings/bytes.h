#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/hex.h"

namespace zelar::test {

// Test data written as hexadecimal, spaces allowed between bytes.
inline std::vector<std::uint8_t> hexBytes(std::string_view text) {
    std::string digits;
    for (char c : text) {
        if (c != ' ')
            digits += c;
    }
    return hexToBytes(digits).value();
}

inline std::vector<std::uint8_t> textBytes(std::string_view text) {
    return {text.begin(), text.end()};
}

inline std::vector<std::uint8_t> concat(std::initializer_list<std::vector<std::uint8_t>> parts) {
    std::vector<std::uint8_t> out;
    for (const auto& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

}  // namespace zelar::test
