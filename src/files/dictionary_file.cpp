#include "files/dictionary_file.h"

#include <algorithm>
#include <cstdio>

#include "text/cp1251.h"
#include "text/hex.h"

namespace zelar {

namespace {

constexpr std::string_view kMarkerProtocol0 = "Protocol=0\t\t\t";
constexpr std::string_view kMarkerRpiPlus = "Protocol=1\t\t\t";

// The text before the first tab, and what follows it (empty when there is no tab).
std::pair<std::string_view, std::string_view> splitAtTab(std::string_view s) {
    const auto tab = s.find('\t');
    if (tab == std::string_view::npos)
        return {s, {}};
    return {s.substr(0, tab), s.substr(tab + 1)};
}

// "0x" and the field read as a hexadecimal number: any count of digits of either case. Eight
// digits reach 0xFFFFFFFF, beyond a 32-bit long (Windows): the sum is kept in 64 bits.
std::optional<std::int64_t> hexField(std::string_view s) {
    if (s.empty() || s.size() > 8)
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : s) {
        int digit = 0;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * 16 + digit;
    }
    return value;
}

std::optional<long> decimalField(std::string_view s) {
    const auto v = parseWholeNumber(s);
    return v ? std::optional<long>(*v) : std::nullopt;
}

}  // namespace

std::optional<DictionaryKind> dictionaryKind(std::string_view firstLine) {
    if (firstLine.find(kMarkerProtocol0) != std::string_view::npos)
        return DictionaryKind::Protocol0;
    if (firstLine.find(kMarkerRpiPlus) != std::string_view::npos)
        return DictionaryKind::RpiPlus;
    return std::nullopt;
}

const std::array<std::string, 4>& protocol0HeadLines() {
    static const std::array<std::string, 4> lines = {std::string(kMarkerProtocol0), "",
                                                     utf8ToCp1251("DEC\tHEX\tТекст SMS\tStat"), ""};
    return lines;
}

std::optional<DictionaryRecord> makeRecord(std::string_view text, std::uint8_t type) {
    if (text.size() > kRecordTextBytes)
        return std::nullopt;
    DictionaryRecord record;
    std::copy(text.begin(), text.end(), record.bytes.begin());
    record.bytes[kRecordTextBytes] = type;
    return record;
}

std::string recordText(const DictionaryRecord& record) {
    const auto end = std::find(record.bytes.begin(), record.bytes.begin() + kRecordTextBytes, 0);
    return std::string(record.bytes.begin(), end);
}

std::uint8_t recordType(const DictionaryRecord& record) {
    return record.bytes[kRecordTextBytes];
}

FlashPlace protocol0Place(int code) {
    return {static_cast<std::uint16_t>(1 + code / 8), static_cast<std::uint16_t>(code % 8 * 32)};
}

std::optional<FlashPlace> rpiPlusPlace(int code) {
    if (code < 0 || code >= kRpiPlusCodes)
        return std::nullopt;
    return FlashPlace{static_cast<std::uint16_t>(100 + (code & ~0x400) / 4),
                      static_cast<std::uint16_t>(code / 1024 * 32 + code % 4 * 64)};
}

Protocol0Line parseProtocol0Line(std::string_view line) {
    Protocol0Line out;
    const auto [dec, afterDec] = splitAtTab(line);
    const auto [hex, rest] = splitAtTab(afterDec);
    const auto decValue = decimalField(dec);
    const auto hexValue = hexField(hex);
    if (!decValue || !hexValue) {
        out.error = Protocol0Line::Error::Numbering;
        return out;
    }
    out.dec = *decValue;
    out.hex = *hexValue;
    // Without a third tab the whole rest is taken as the type, and the text is empty.
    const auto tab = rest.find('\t');
    const std::string_view typeField = tab == std::string_view::npos ? rest : rest.substr(tab + 1);
    out.text = tab == std::string_view::npos ? std::string() : std::string(rest.substr(0, tab));
    const auto type = decimalField(typeField);
    if (!type) {
        out.error = Protocol0Line::Error::Type;
        return out;
    }
    out.type = *type;
    return out;
}

RpiPlusLine parseRpiPlusLine(std::string_view line) {
    RpiPlusLine out;
    std::string_view fields[4];
    std::string_view rest = line;
    for (int i = 0; i < 4; ++i) {
        const auto tab = rest.find('\t');
        if (tab == std::string_view::npos) {
            if (i >= 2)
                out.decField = std::string(fields[1]);
            out.error = RpiPlusLine::Error::MissingTab;
            return out;
        }
        fields[i] = rest.substr(0, tab);
        rest = rest.substr(tab + 1);
    }
    out.decField = std::string(fields[1]);
    out.text = std::string(fields[3]);
    if (out.text.size() > kRpiPlusTextLimit) {
        out.error = RpiPlusLine::Error::TooLong;
        return out;
    }
    const auto dec = decimalField(fields[1]);
    const auto hex = hexField(fields[2]);
    const bool groupDigit = !rest.empty() && rest[0] >= '0' && rest[0] <= '9';
    if (!dec || !hex || !groupDigit) {
        out.error = RpiPlusLine::Error::BadNumber;
        return out;
    }
    if (*dec != *hex) {
        out.error = RpiPlusLine::Error::NotEqual;
        return out;
    }
    if (*dec < 0 || *dec >= kRpiPlusCodes) {
        out.error = RpiPlusLine::Error::OutOfRange;
        return out;
    }
    out.code = static_cast<int>(*dec);
    out.group = rest[0] - '0';
    return out;
}

std::string protocol0RecordLine(int code, std::string_view text, std::uint8_t type) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%03X", static_cast<unsigned>(code));
    return std::to_string(code) + '\t' + hex + '\t' + std::string(text) + '\t' +
           std::to_string(type) + "\r\n";
}

std::string_view LineReader::next() {
    const std::size_t start = pos_;
    const std::size_t end = std::min(text_.find_first_of("\r\n", start), text_.size());
    pos_ = end;
    if (pos_ < text_.size() && text_[pos_] == '\r')
        ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '\n')
        ++pos_;
    return text_.substr(start, end - start);
}

bool LineReader::skipBlanks() {
    while (pos_ < text_.size() &&
           std::string_view(" \t\r\n").find(text_[pos_]) != std::string_view::npos)
        ++pos_;
    return !atEnd();
}

}  // namespace zelar
