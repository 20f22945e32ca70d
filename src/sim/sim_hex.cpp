#include "sim/sim_hex.h"

namespace zelar::sim::hexfield {

namespace {
constexpr char kUpper[] = "0123456789ABCDEF";
}

std::string byteText(std::uint8_t value) {
    return {kUpper[value >> 4], kUpper[value & 0x0F]};
}

std::string wordText(unsigned value) {
    return byteText(static_cast<std::uint8_t>((value >> 8) & 0xFF)) +
           byteText(static_cast<std::uint8_t>(value & 0xFF));
}

std::string bytesText(const std::uint8_t* data, std::size_t count) {
    std::string text;
    text.reserve(count * 2);
    for (std::size_t i = 0; i < count; ++i)
        text += byteText(data[i]);
    return text;
}

std::optional<unsigned> digit(char c) {
    if (c >= '0' && c <= '9')
        return static_cast<unsigned>(c - '0');
    if (c >= 'A' && c <= 'F')
        return static_cast<unsigned>(c - 'A' + 10);
    return std::nullopt;
}

std::optional<unsigned> number(std::string_view digits) {
    if (digits.empty() || digits.size() > 7)
        return std::nullopt;
    unsigned value = 0;
    for (char c : digits) {
        const auto d = digit(c);
        if (!d)
            return std::nullopt;
        value = value * 16 + *d;
    }
    return value;
}

std::optional<std::vector<std::uint8_t>> bytes(std::string_view digits) {
    if (digits.size() % 2 != 0)
        return std::nullopt;
    std::vector<std::uint8_t> out;
    out.reserve(digits.size() / 2);
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const auto high = digit(digits[i]);
        const auto low = digit(digits[i + 1]);
        if (!high || !low)
            return std::nullopt;
        out.push_back(static_cast<std::uint8_t>(*high * 16 + *low));
    }
    return out;
}

std::optional<unsigned> decimal(std::string_view digits) {
    if (digits.empty() || digits.size() > 9)
        return std::nullopt;
    unsigned value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value;
}

}  // namespace zelar::sim::hexfield
