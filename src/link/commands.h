#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelar {

// Command lines of the modem: "AT+V" + two-digit number + fields + CR. Addresses, offsets,
// pages and lengths are four upper-case hex digits, data bytes two each.

// Write bytes into the settings memory.
std::string commandV16(std::uint16_t address, const std::vector<std::uint8_t>& data);
// The address and data a line made by commandV16 writes; nothing for any other line.
struct WrittenBytes {
    std::uint16_t address = 0;
    std::vector<std::uint8_t> data;
};
std::optional<WrittenBytes> parseCommandV16(std::string_view line);
// Read `length` bytes of the settings memory.
std::string commandV17(std::uint16_t address, std::uint16_t length);
// Write a chunk into the page buffer at `offset`.
std::string commandV18(std::uint16_t offset, const std::vector<std::uint8_t>& data);
// Read `length` bytes of the page buffer from `offset`.
std::string commandV19(std::uint16_t offset, std::uint16_t length);
// Store the page buffer into a flash page.
std::string commandV20(std::uint16_t page);
// Load a flash page into the page buffer.
std::string commandV21(std::uint16_t page);
std::string commandV22();  // identification
std::string commandV23();  // test message
std::string commandV24();  // current SIM, SIM status, balance
std::string commandV25();  // fault flags and signal level
std::string commandV39();  // restart
// Main system, main object as the user sees it, protocol code; the one command with decimal
// fields (3, 4 and 1 digits).
std::string commandV40(int system, int object, int protocol);

}  // namespace zelar
