#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace zelar::sim {

// The boot loader's reply to a block: one character.
inline constexpr char kBlockAccepted = 'K';
inline constexpr char kBlockRejected = 'E';
inline constexpr char kBootAnnounce = '!';
inline constexpr std::size_t kBlockSize = 260;

// Collects 260-byte blocks: "W", page low byte, page high byte, 256 bytes, and a checksum that
// makes all 260 bytes sum to 0 modulo 256. Bytes between blocks other than "W" are skipped.
class BlockReceiver {
  public:
    struct Block {
        int page = 0;
        bool accepted = false;  // checksum good and page inside the program memory
    };

    // Takes one byte; a completed block comes back, and when accepted its page is already
    // written into `program` (pages of 256 bytes).
    std::optional<Block> feed(std::uint8_t byte, std::vector<std::uint8_t>& program);
    void reset() { block_.clear(); }

  private:
    std::vector<std::uint8_t> block_;
};

}  // namespace zelar::sim
