#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelar {

// Upper-case hexadecimal, zero-padded on the left to `digits` (more digits if the value needs
// them).
std::string toHex(unsigned value, int digits);
// Each byte as two upper-case hexadecimal digits, in order.
std::string bytesToHex(const std::vector<std::uint8_t>& bytes);
std::string bytesToHex(std::string_view bytes);

// 0..15 for '0'-'9' and 'A'-'F'; nothing for any other character (lower case included:
// the modem sends upper case only).
std::optional<int> hexDigitValue(char c);
// Two characters as one byte, high digit first; nothing when either is not a hex digit.
std::optional<std::uint8_t> hexPairValue(char high, char low);
// Pairs of hex digits as bytes; nothing when the length is odd or any character is not a digit.
std::optional<std::vector<std::uint8_t>> hexToBytes(std::string_view hex);

// Decimal text of non-negative value when the whole text is digits (at most 9); else nothing.
std::optional<int> parseDecimal(std::string_view text);
// A whole number: an optional sign followed by decimal digits, within 32 bits; else nothing.
std::optional<std::int32_t> parseWholeNumber(std::string_view text);

}  // namespace zelar
