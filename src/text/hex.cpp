#include "text/hex.h"

namespace zelar {

namespace {
constexpr char kDigits[] = "0123456789ABCDEF";
}

std::string toHex(unsigned value, int digits) {
    std::string out;
    do {
        out.insert(out.begin(), kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    while (static_cast<int>(out.size()) < digits)
        out.insert(out.begin(), '0');
    return out;
}

std::string bytesToHex(const std::vector<std::uint8_t>& bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) {
        out += kDigits[b >> 4];
        out += kDigits[b & 0xF];
    }
    return out;
}

std::string bytesToHex(std::string_view bytes) {
    return bytesToHex(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

std::optional<int> hexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return std::nullopt;
}

std::optional<std::uint8_t> hexPairValue(char high, char low) {
    const auto h = hexDigitValue(high);
    const auto l = hexDigitValue(low);
    if (!h || !l)
        return std::nullopt;
    return static_cast<std::uint8_t>(*h * 16 + *l);
}

std::optional<std::vector<std::uint8_t>> hexToBytes(std::string_view hex) {
    if (hex.size() % 2 != 0)
        return std::nullopt;
    std::vector<std::uint8_t> out;
    out.reserve(hex.size() / 2);
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const auto b = hexPairValue(hex[i], hex[i + 1]);
        if (!b)
            return std::nullopt;
        out.push_back(*b);
    }
    return out;
}

std::optional<int> parseDecimal(std::string_view text) {
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<std::int32_t> parseWholeNumber(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > std::int64_t{1} << 31)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX || value < INT32_MIN)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

}  // namespace zelar
