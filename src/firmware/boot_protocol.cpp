#include "firmware/boot_protocol.h"

#include <algorithm>
#include <numeric>

namespace zelar {

std::string composeBlock(const FirmwareImage& image, int page) {
    std::string block(BlockLayout::size, '\0');
    block[BlockLayout::mark] = BlockLayout::markByte;
    block[BlockLayout::page] = static_cast<char>(page & 0xFF);
    block[BlockLayout::page + 1] = static_cast<char>((page >> 8) & 0xFF);
    const auto from = image.begin() + std::ptrdiff_t(std::size_t(page) * kFirmwarePageSize);
    std::copy_n(from, kFirmwarePageSize, block.begin() + BlockLayout::data);
    const unsigned sum = std::accumulate(block.begin(), block.begin() + BlockLayout::checksum, 0U,
                                         [](unsigned s, char c) { return s + std::uint8_t(c); });
    block[BlockLayout::checksum] = static_cast<char>((0x100 - (sum & 0xFF)) & 0xFF);
    return block;
}

bool isBootAnnouncement(const std::string& received) {
    const std::size_t n = received.size();
    return n >= 1 && received[n - 1] == kBootAnnouncement &&
           (n == 1 || received[n - 2] != kBootAnnouncement);
}

bool isBlockAcknowledged(const std::string& received) {
    return received.size() == 1;
}

}  // namespace zelar
