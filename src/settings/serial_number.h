#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "settings/memory_map.h"

namespace zelar {

// The serial number is four bytes: bytes 0 to 2 hold its last six digits, two to a byte, each
// byte's hexadecimal digits being the decimal digits; byte 3 holds the leading part, 0..255.

// Byte 3 in decimal followed by the hexadecimal digits of bytes 0 to 2 as they stand, so
// 12 34 56 07 gives "7123456". A byte that is not two decimal digits shows its hexadecimal
// digits, which the composing below takes back unchanged.
std::string serialNumberText(std::span<const std::uint8_t, 4> bytes);
std::optional<std::string> decodeSerialNumber(std::span<const std::uint8_t> payload);

// The four bytes from the text: its last six characters are the packed digits (upper-case
// hexadecimal digits accepted), everything before them the leading part, 1 to 3 decimal
// digits up to 255. Nothing for any other text, so a malformed field is never written.
std::optional<std::array<std::uint8_t, 4>> encodeSerialNumber(std::string_view text);
std::optional<RegionWrite> composeSerialNumberWrite(std::string_view text);

}  // namespace zelar
