#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zelar::sim {

inline constexpr std::size_t kSettingsSize = 0x800;
inline constexpr std::size_t kPageSize = 256;
inline constexpr std::size_t kFlashPages = 512;
inline constexpr std::size_t kProgramPages = 496;

inline constexpr int kFirmwareBaud = 115200;
inline constexpr int kBootLoaderBaud = 57600;

// Everything the modem keeps: the settings memory (EEPROM), the controller's page buffer, the
// external flash and the controller's program memory written by the boot loader.
struct ModemStore {
    std::array<std::uint8_t, kSettingsSize> settings{};
    std::array<std::uint8_t, kPageSize> pageBuffer{};
    std::vector<std::uint8_t> flash = std::vector<std::uint8_t>(kFlashPages * kPageSize, 0xFF);
    std::vector<std::uint8_t> program = std::vector<std::uint8_t>(kProgramPages * kPageSize, 0xFF);
    // Four decimal digits, as the identification reports them ("0205" is version 2.05).
    std::string firmwareVersion = "0205";
    // Major digit and two minor digits of the boot loader ("102" is version 1.02).
    std::string bootLoaderVersion = "102";
};

// The version the running firmware reports: "     Ver" followed by four decimal digits, the
// first such mark in the program memory. Nothing when the image carries no such mark (a coded
// image, for instance), in which case the modem keeps reporting what it reported before.
std::string findVersionMark(const std::vector<std::uint8_t>& program);

// Writes the version mark into a program image at `offset`.
void putVersionMark(std::vector<std::uint8_t>& program, std::size_t offset,
                    const std::string& version);

}  // namespace zelar::sim
