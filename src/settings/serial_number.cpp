#include "settings/serial_number.h"

#include "text/hex.h"

namespace zelar {

namespace {
constexpr std::size_t kPackedDigits = 6;
constexpr std::size_t kMaxLeadingDigits = 3;
}  // namespace

std::string serialNumberText(std::span<const std::uint8_t, 4> bytes) {
    return std::to_string(bytes[3]) + toHex(bytes[0], 2) + toHex(bytes[1], 2) + toHex(bytes[2], 2);
}

std::optional<std::string> decodeSerialNumber(std::span<const std::uint8_t> payload) {
    if (payload.size() < read_block::kSerialNumber.length)
        return std::nullopt;
    return serialNumberText(payload.first<4>());
}

std::optional<std::array<std::uint8_t, 4>> encodeSerialNumber(std::string_view text) {
    if (text.size() <= kPackedDigits || text.size() > kPackedDigits + kMaxLeadingDigits)
        return std::nullopt;
    const std::string_view leading = text.substr(0, text.size() - kPackedDigits);
    const std::string_view packed = text.substr(leading.size());
    const auto leadingValue = parseDecimal(leading);
    if (!leadingValue || *leadingValue > 255)
        return std::nullopt;
    std::array<std::uint8_t, 4> bytes{};
    for (std::size_t i = 0; i < 3; ++i) {
        const auto pair = hexPairValue(packed[2 * i], packed[2 * i + 1]);
        if (!pair)
            return std::nullopt;
        bytes[i] = *pair;
    }
    bytes[3] = static_cast<std::uint8_t>(*leadingValue);
    return bytes;
}

std::optional<RegionWrite> composeSerialNumberWrite(std::string_view text) {
    const auto bytes = encodeSerialNumber(text);
    if (!bytes)
        return std::nullopt;
    return RegionWrite{read_block::kSerialNumber.address, {bytes->begin(), bytes->end()}};
}

}  // namespace zelar
