#pragma once

#include <cstddef>
#include <string>

#include "firmware/firmware_image.h"

namespace zelar {

// The boot loader's line protocol at 57600 baud: it announces itself with "!", then takes one
// block a page and answers each with one character.
inline constexpr int kBootBaud = 57600;
inline constexpr char kBootAnnouncement = '!';

// A block: mark, page number low byte first, the page, and a checksum that makes all bytes of
// the block sum to 0 modulo 256.
struct BlockLayout {
    static constexpr std::size_t mark = 0;
    static constexpr std::size_t page = 1;  // two bytes, low first
    static constexpr std::size_t data = 3;  // kFirmwarePageSize bytes
    static constexpr std::size_t checksum = data + kFirmwarePageSize;
    static constexpr std::size_t size = checksum + 1;
    static constexpr char markByte = 'W';
};

// The block that carries page `page` (0 to 495) of the image, as raw bytes.
std::string composeBlock(const FirmwareImage& image, int page);

// Whether what arrived while waiting is the boot loader's announcement: a read that ends in a
// lone "!". A byte the line driver glitches out at power-up may come in the same read, just
// before it (a USB adapter hands over together what arrives within its latency timer); two "!"
// in a row are no announcement.
bool isBootAnnouncement(const std::string& received);
// Whether what arrived after a block acknowledges it: exactly one character, of any value;
// what the character means is the boot loader's business.
bool isBlockAcknowledged(const std::string& received);

}  // namespace zelar
