#include "sim/modem_store.h"

#include <algorithm>
#include <string_view>

namespace zelar::sim {

namespace {
constexpr std::string_view kMark = "     Ver";
}

std::string findVersionMark(const std::vector<std::uint8_t>& program) {
    const auto isDigit = [](std::uint8_t b) { return b >= '0' && b <= '9'; };
    auto from = program.begin();
    while (true) {
        const auto at = std::search(from, program.end(), kMark.begin(), kMark.end());
        if (at == program.end())
            return {};
        const auto digits = at + static_cast<std::ptrdiff_t>(kMark.size());
        if (program.end() - digits >= 4 && std::all_of(digits, digits + 4, isDigit))
            return std::string(digits, digits + 4);
        from = at + 1;
    }
}

void putVersionMark(std::vector<std::uint8_t>& program, std::size_t offset,
                    const std::string& version) {
    const std::string text = std::string(kMark) + version;
    if (offset + text.size() > program.size())
        return;
    std::copy(text.begin(), text.end(), program.begin() + static_cast<std::ptrdiff_t>(offset));
}

}  // namespace zelar::sim
