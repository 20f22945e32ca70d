#include "text/padding.h"

namespace zelar {

std::string padRight(const std::string& text, std::size_t width, char fill) {
    if (text.size() >= width)
        return text;
    return text + std::string(width - text.size(), fill);
}

std::string zeroPadDecimal(long value, std::size_t width) {
    const bool negative = value < 0;
    std::string digits = std::to_string(negative ? -value : value);
    while (digits.size() + (negative ? 1 : 0) < width)
        digits.insert(digits.begin(), '0');
    return negative ? "-" + digits : digits;
}

std::string cutAtFirstSpace(const std::string& text) {
    const auto pos = text.find(' ');
    return pos == std::string::npos ? text : text.substr(0, pos);
}

std::string cutAtFirstNul(const std::string& text) {
    return text.substr(0, text.find('\0'));
}

}  // namespace zelar
