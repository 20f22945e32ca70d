#include "sim/boot_loader.h"

#include <algorithm>
#include <numeric>

namespace zelar::sim {

std::optional<BlockReceiver::Block> BlockReceiver::feed(std::uint8_t byte,
                                                        std::vector<std::uint8_t>& program) {
    if (block_.empty() && byte != 'W')
        return std::nullopt;
    block_.push_back(byte);
    if (block_.size() < kBlockSize)
        return std::nullopt;

    Block result;
    result.page = block_[1] | (block_[2] << 8);
    const unsigned sum = std::accumulate(block_.begin(), block_.end(), 0U);
    const std::size_t offset = static_cast<std::size_t>(result.page) * 256;
    result.accepted = (sum & 0xFF) == 0 && offset + 256 <= program.size();
    if (result.accepted) {
        std::copy(block_.begin() + 3, block_.begin() + 259,
                  program.begin() + static_cast<std::ptrdiff_t>(offset));
    }
    block_.clear();
    return result;
}

}  // namespace zelar::sim
