#include "firmware/firmware_image.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <iterator>
#include <string>

#include "platform/regular_files.h"
#include "text/cp1251.h"

namespace zelar {

namespace {

// The header of a coded image, one byte a field; the payload follows it.
enum class HeaderField { Major, Minor, Day, Month, Year };
struct HeaderByte {
    HeaderField field;
    std::size_t offset;
};
constexpr std::array kCodedHeader = {
    HeaderByte{HeaderField::Major, 0}, HeaderByte{HeaderField::Minor, 1},
    HeaderByte{HeaderField::Day, 2},   HeaderByte{HeaderField::Month, 3},
    HeaderByte{HeaderField::Year, 4},
};
constexpr std::size_t kCodedPayloadOffset = 16;

// An open image carries its version as this mark and four characters.
constexpr std::string_view kVersionMark = "     Ver";
constexpr std::size_t kVersionLength = 4;

std::size_t payloadOffset(FirmwareKind kind) {
    return kind == FirmwareKind::Coded ? kCodedPayloadOffset : 0;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

int headerValue(const std::vector<std::uint8_t>& file, HeaderField field) {
    const auto it = std::find_if(kCodedHeader.begin(), kCodedHeader.end(),
                                 [&](const HeaderByte& b) { return b.field == field; });
    return file[it->offset];
}

FirmwareVersion codedVersion(const std::vector<std::uint8_t>& file) {
    // A header cut short has no version to show.
    if (file.size() < kCodedHeader.size())
        return {};
    const int minor = headerValue(file, HeaderField::Minor);
    char version[16];
    std::snprintf(version, sizeof version, "%X.%d%d", headerValue(file, HeaderField::Major),
                  minor / 10, minor % 10);
    char date[16];
    std::snprintf(date, sizeof date, "%d.%02d.%02d", headerValue(file, HeaderField::Day),
                  headerValue(file, HeaderField::Month), headerValue(file, HeaderField::Year));
    return {version, date};
}

FirmwareVersion openVersion(const std::vector<std::uint8_t>& file) {
    // Only where the mark and its four characters lie wholly inside the file.
    const std::size_t need = kVersionMark.size() + kVersionLength;
    for (std::size_t p = 0; p + need <= file.size(); ++p) {
        if (std::equal(kVersionMark.begin(), kVersionMark.end(),
                       file.begin() + std::ptrdiff_t(p))) {
            const auto from = file.begin() + std::ptrdiff_t(p + kVersionMark.size());
            return {cp1251ToUtf8(std::string(from, from + kVersionLength)), {}};
        }
    }
    return {};
}

}  // namespace

FirmwareKind firmwareKind(std::string_view extension) {
    return equalsIgnoringCase(extension, ".dat") ? FirmwareKind::Coded : FirmwareKind::Open;
}

std::string fileExtension(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return path.substr(dot);
}

FirmwareVersion firmwareVersionOf(const std::vector<std::uint8_t>& file,
                                  std::string_view extension) {
    if (file.size() > kFirmwareFileLimit)
        return {};
    if (firmwareKind(extension) == FirmwareKind::Coded)
        return codedVersion(file);
    if (equalsIgnoringCase(extension, ".bin"))
        return openVersion(file);
    return {};
}

std::optional<std::vector<std::uint8_t>> readFirmwareFile(const std::string& path) {
    const FileRead read = readRegularFile(path, kFirmwareFileLimit);
    if (!read.bytes)
        return std::nullopt;
    return std::vector<std::uint8_t>(read.bytes->begin(), read.bytes->end());
}

int payloadPages(const std::vector<std::uint8_t>& file, FirmwareKind kind) {
    const std::size_t offset = payloadOffset(kind);
    const std::size_t payload =
        std::min(file.size() > offset ? file.size() - offset : 0, kFirmwareImageSize);
    return static_cast<int>((payload + kFirmwarePageSize - 1) / kFirmwarePageSize);
}

namespace {

using ByteIt = std::vector<std::uint8_t>::const_iterator;

// The payload up to its last byte that is not 0xFF: erased bytes at the end are what the
// controller holds there anyway, so they carry no program.
struct Payload {
    ByteIt begin;
    ByteIt end;
    std::size_t size() const { return static_cast<std::size_t>(end - begin); }
};

// Windows-1251 letters included: 0xFF is "я".
bool isTextByte(std::uint8_t b) {
    return (b >= 0x20 && b != 0x7F) || b == '\t' || b == '\n' || b == '\r';
}

bool isErased(const Payload& p) {
    return p.size() == 0;
}

// No program of this controller is that small; a stray byte or a few would only erase it.
bool isUnderOnePage(const Payload& p) {
    return p.size() < kFirmwarePageSize;
}

// A file of NULs, spaces or any other single value is a blank, not a program.
bool isOneValue(const Payload& p) {
    return std::adjacent_find(p.begin, p.end, std::not_equal_to<>()) == p.end;
}

// Letters, digits, blanks and line ends only: a note or a dictionary. Machine code always holds
// other bytes.
bool isText(const Payload& p) {
    return std::all_of(p.begin, p.end, isTextByte);
}

bool isTextUnit(unsigned unit) {
    return unit == '\t' || unit == '\n' || unit == '\r' || (unit >= 0x20 && unit < 0x7F) ||
           (unit >= 0xA0 && unit <= 0xFFFD);
}

unsigned unitAt(ByteIt at, bool lowFirst) {
    return lowFirst ? unsigned(at[0]) | unsigned(at[1]) << 8
                    : unsigned(at[0]) << 8 | unsigned(at[1]);
}

// Text saved as UTF-16 (Notepad's "Unicode"), either byte order: characters only after its
// byte-order mark, or without the mark, characters of the Latin and Cyrillic blocks only (up to
// U+04FF), what a note here holds. Machine code holds 0x0000, 0xFFFF or other controls among its
// 16-bit units, and units from all over the range.
bool isUtf16Text(const Payload& p) {
    constexpr unsigned kMark = 0xFEFF;
    constexpr unsigned kLastCyrillic = 0x04FF;
    if (p.size() % 2 != 0)
        return false;
    for (const bool lowFirst : {true, false}) {
        const bool marked = unitAt(p.begin, lowFirst) == kMark;
        bool text = true;
        for (ByteIt it = p.begin; text && it != p.end; it += 2) {
            const unsigned unit = unitAt(it, lowFirst);
            text = isTextUnit(unit) && (marked || unit <= kLastCyrillic);
        }
        if (text)
            return true;
    }
    return false;
}

// What makes a file no firmware, each with the reason the user is told, in the order they are
// tried. No real image breaks any of them.
struct NoFirmwareRule {
    bool (*applies)(const Payload&);
    const char* reason;
};
constexpr std::array kNoFirmwareRules = {
    NoFirmwareRule{isErased, "В файле нет прошивки: все байты 0xFF"},
    NoFirmwareRule{isUnderOnePage, "В файле нет прошивки: программа короче 256 байт"},
    NoFirmwareRule{isOneValue, "В файле нет прошивки: все байты одинаковые"},
    NoFirmwareRule{isText, "В файле нет прошивки: это текст"},
    NoFirmwareRule{isUtf16Text, "В файле нет прошивки: это текст UTF-16"},
};

}  // namespace

std::string firmwareImageFault(const std::vector<std::uint8_t>& file, FirmwareKind kind) {
    const std::size_t offset = payloadOffset(kind);
    if (file.size() > kFirmwareFileLimit)
        return "Файл прошивки больше " + std::to_string(kFirmwareFileLimit) + " байт";
    if (file.size() <= offset)
        return "В файле нет прошивки";
    const std::size_t payload = file.size() - offset;
    const auto beyond =
        file.begin() + std::ptrdiff_t(std::min(offset + kFirmwareImageSize, file.size()));
    // Erased bytes past the end are what the controller holds there anyway.
    if (std::any_of(beyond, file.end(), [](std::uint8_t b) { return b != 0xFF; })) {
        return "Прошивка " + std::to_string(payload) +
               " байт не помещается в память программ модема (" +
               std::to_string(kFirmwareImageSize) + " байт)";
    }
    Payload program{file.begin() + std::ptrdiff_t(offset), file.end()};
    while (program.end != program.begin && *(program.end - 1) == 0xFF)
        --program.end;
    for (const NoFirmwareRule& rule : kNoFirmwareRules) {
        if (rule.applies(program))
            return rule.reason;
    }
    return {};
}

std::optional<FirmwareImage> firmwareImageOf(const std::vector<std::uint8_t>& file,
                                             FirmwareKind kind) {
    const std::size_t offset = payloadOffset(kind);
    if (!firmwareImageFault(file, kind).empty())
        return std::nullopt;
    FirmwareImage image(kFirmwareImageSize, 0xFF);
    const std::size_t payload = std::min(file.size() - offset, kFirmwareImageSize);
    std::copy_n(file.begin() + std::ptrdiff_t(offset), payload, image.begin());
    return image;
}

}  // namespace zelar
