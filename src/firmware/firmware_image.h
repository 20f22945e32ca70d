#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelar {

// A firmware file as the boot loader takes it: 496 pages of 256 bytes.
inline constexpr std::size_t kFirmwarePageSize = 256;
inline constexpr int kFirmwarePages = 496;
inline constexpr std::size_t kFirmwareImageSize = kFirmwarePageSize * kFirmwarePages;
// A larger file is no firmware of this modem.
inline constexpr std::size_t kFirmwareFileLimit = 131072;

// A coded image (".dat") carries a header before the payload; an open image (".bin", and any
// other name) is payload from its first byte.
enum class FirmwareKind { Coded, Open };

// The kind by the extension (with its dot), without regard to case: "FW.DAT" is coded too,
// so that its header never reaches the controller.
FirmwareKind firmwareKind(std::string_view extension);
// The extension of a path, dot included; empty when the file name has none.
std::string fileExtension(const std::string& path);

struct FirmwareVersion {
    std::string version;  // "2.05"; empty when none was found
    std::string date;     // release date of a coded image, "15.03.10"; else empty
};

// The version of a file's bytes. The version search of an open image runs only for ".bin".
FirmwareVersion firmwareVersionOf(const std::vector<std::uint8_t>& file,
                                  std::string_view extension);

using FirmwareImage = std::vector<std::uint8_t>;  // kFirmwareImageSize bytes

// Why the file's bytes cannot be programmed, as the user is told; empty when they can. Refused:
// a file above the limit; one whose payload reaches past the program memory with anything but
// 0xFF (cut to fit, the controller would run half a program); and one that holds no program,
// judged on its payload without the 0xFF bytes at its end: nothing left (0xFF pages would only
// erase the controller), under one page, one byte value throughout, or text (8-bit or UTF-16).
std::string firmwareImageFault(const std::vector<std::uint8_t>& file, FirmwareKind kind);

// The pages as sent: payload, then 0xFF. Nothing when firmwareImageFault names a reason.
std::optional<FirmwareImage> firmwareImageOf(const std::vector<std::uint8_t>& file,
                                             FirmwareKind kind);
// How many pages of the image hold payload bytes.
int payloadPages(const std::vector<std::uint8_t>& file, FirmwareKind kind);

// The whole file, or nothing when it is no regular file or cannot be read; a file above the
// limit is read only one byte past it, enough to know it is too large.
std::optional<std::vector<std::uint8_t>> readFirmwareFile(const std::string& path);

}  // namespace zelar
