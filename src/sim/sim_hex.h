#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The modem's own hexadecimal and decimal field handling. It is deliberately separate from the
// program's helpers so that a misreading on one side shows up as a disagreement with the other.
namespace zelar::sim::hexfield {

// Two upper-case hexadecimal digits.
std::string byteText(std::uint8_t value);
// Four upper-case hexadecimal digits of the low 16 bits.
std::string wordText(unsigned value);
// Every byte as two upper-case digits, in order.
std::string bytesText(const std::uint8_t* data, std::size_t count);

// 0..15 for '0'-'9' and 'A'-'F'. Lower case is refused: the protocol fixes upper case, and a
// strict modem is what catches a host that gets it wrong.
std::optional<unsigned> digit(char c);
// A field of hexadecimal digits only; nothing when empty or any character is not a digit.
std::optional<unsigned> number(std::string_view digits);
// Pairs of digits as bytes; nothing when the count is odd or a character is not a digit.
std::optional<std::vector<std::uint8_t>> bytes(std::string_view digits);
// A field of decimal digits only (at most 9); nothing otherwise.
std::optional<unsigned> decimal(std::string_view digits);

}  // namespace zelar::sim::hexfield
