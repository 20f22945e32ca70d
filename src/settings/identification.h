#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zelar {

// The modem's identification, the 16 payload characters of its reply to V22: characters 1 to 6
// are the serial number's low six digits, 7 and 8 its leading part as a hexadecimal byte, 9 to 12
// the controller firmware's version digits, 13 is not used, 14 to 16 the boot loader's version
// digits.
inline constexpr std::size_t kIdentificationLength = 16;

struct Identification {
    std::string serialNumber;       // "7204518"
    std::string firmwareVersion;    // "2.05": a leading "0" left out
    std::string bootLoaderVersion;  // "1.02"
    double firmwareNumber = 0;      // 205; 0 when the digits are no decimal number
};

// As the read takes it: nothing when the text is short or the leading part of the serial number
// is not a hexadecimal pair; the other characters as they stand.
std::optional<Identification> decodeIdentification(std::string_view payload);
// Whether the text is one a modem sends: hexadecimal digits in the serial number, decimal digits
// in both versions.
bool isWellFormedIdentification(std::string_view payload);

}  // namespace zelar
