#include "settings/field_codec.h"

#include <algorithm>

#include "settings/settings_image.h"
#include "text/cp1251.h"
#include "text/padding.h"

namespace zelar::field_detail {

namespace {

std::string asText(std::span<const std::uint8_t> bytes) {
    return std::string(bytes.begin(), bytes.end());
}

bool isPhoneCharacter(std::uint8_t c) {
    return c == ' ' || c == '+' || (c >= '0' && c <= '9');
}

std::string decodeText(FieldCoding coding, std::span<const std::uint8_t> bytes) {
    switch (coding) {
        case FieldCoding::UserPhone:
            if (!std::all_of(bytes.begin(), bytes.end(), isPhoneCharacter))
                return {};
            return cutAtFirstSpace(asText(bytes));
        case FieldCoding::DefaultPuk:
            return std::string(kDefaultPuk);
        case FieldCoding::ZeroPadded: {
            std::string text = asText(bytes);
            std::erase(text, '\0');
            return cp1251ToUtf8(text);
        }
        default:
            return cp1251ToUtf8(cutAtFirstSpace(asText(bytes)));
    }
}

bool encodeText(FieldCoding coding, const std::string& value, std::span<std::uint8_t> out) {
    const std::string bytes =
        coding == FieldCoding::DefaultPuk ? std::string(kDefaultPuk) : utf8ToCp1251(value);
    if (bytes.size() > out.size())
        return false;
    const char pad = coding == FieldCoding::ZeroPadded ? '\0' : ' ';
    const std::string padded = padRight(bytes, out.size(), pad);
    std::copy(padded.begin(), padded.end(), out.begin());
    return true;
}

std::uint8_t lowDigit(std::span<const std::uint8_t> bytes) {
    return bytes[0] & 0x0F;
}

}  // namespace

void decodeValue(FieldCoding coding, std::uint8_t bit, std::span<const std::uint8_t> bytes,
                 const FieldRef& ref) {
    if (bytes.empty())
        return;
    if (auto* text = std::get_if<std::string*>(&ref)) {
        **text = decodeText(coding, bytes);
    } else if (auto* u8 = std::get_if<std::uint8_t*>(&ref)) {
        **u8 = bytes[0];
    } else if (auto* u16 = std::get_if<std::uint16_t*>(&ref); u16 && bytes.size() >= 2) {
        const bool bigEndian = coding == FieldCoding::U16BE;
        const unsigned high = bigEndian ? bytes[0] : bytes[1];
        const unsigned low = bigEndian ? bytes[1] : bytes[0];
        **u16 = static_cast<std::uint16_t>(high << 8 | low);
    } else if (auto* flag = std::get_if<bool*>(&ref)) {
        **flag =
            coding == FieldCoding::Bit ? ((lowDigit(bytes) >> bit) & 1) != 0 : lowDigit(bytes) != 0;
    }
}

bool encodeValue(FieldCoding coding, std::uint8_t bit, const ConstFieldRef& ref,
                 std::span<std::uint8_t> out) {
    if (out.empty())
        return false;
    if (auto* text = std::get_if<const std::string*>(&ref))
        return encodeText(coding, **text, out);
    if (auto* u8 = std::get_if<const std::uint8_t*>(&ref)) {
        out[0] = **u8;
        return true;
    }
    if (auto* u16 = std::get_if<const std::uint16_t*>(&ref); u16 && out.size() >= 2) {
        const auto high = static_cast<std::uint8_t>(**u16 >> 8);
        const auto low = static_cast<std::uint8_t>(**u16 & 0xFF);
        const bool bigEndian = coding == FieldCoding::U16BE;
        out[0] = bigEndian ? high : low;
        out[1] = bigEndian ? low : high;
        return true;
    }
    if (auto* flag = std::get_if<const bool*>(&ref)) {
        if (coding == FieldCoding::Bit)
            out[0] |= static_cast<std::uint8_t>((**flag ? 1 : 0) << bit);
        else
            out[0] = **flag ? 1 : 0;
        return true;
    }
    return false;
}

}  // namespace zelar::field_detail
