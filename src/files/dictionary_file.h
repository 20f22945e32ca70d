#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelar {

// The message dictionary as installers keep it: tab-separated text, lines ended by CR LF.
// Texts are bytes: they pass between the file and the modem unchanged.

enum class DictionaryKind {
    Protocol0,  // RRD and RPI: codes 0 to 767 in order
    RpiPlus,    // RPI+: codes 0 to 2047 in any order
};

inline constexpr int kProtocol0Codes = 768;
inline constexpr int kRpiPlusCodes = 2048;
inline constexpr std::size_t kRecordSize = 32;
inline constexpr std::size_t kRecordTextBytes = 31;
inline constexpr std::size_t kRpiPlusTextLimit = 30;

// The kind a file's first line announces; a line with both markers is protocol 0.
std::optional<DictionaryKind> dictionaryKind(std::string_view firstLine);

// The four lines that open a protocol-0 file (the marker, an empty line, the column header in
// Windows-1251, an empty line): the writer writes them, the reader checks lines 2 to 4.
const std::array<std::string, 4>& protocol0HeadLines();

// One text as the modem's flash holds it: the text's bytes, 0x00 up to byte 30, then the type
// (protocol 0) or the group (RPI+) in byte 31.
struct DictionaryRecord {
    std::array<std::uint8_t, kRecordSize> bytes{};
};
// Nothing for a text longer than 31 bytes.
std::optional<DictionaryRecord> makeRecord(std::string_view text, std::uint8_t type);
// The bytes up to the first 0x00 of the text area.
std::string recordText(const DictionaryRecord& record);
std::uint8_t recordType(const DictionaryRecord& record);

// Where a record lies in the flash.
struct FlashPlace {
    std::uint16_t page;
    std::uint16_t offset;
};
FlashPlace protocol0Place(int code);
// Codes 0 to 2047 only: code c and c + 1024 share a 64-byte slot of page 100 + (c mod 1024) / 4.
std::optional<FlashPlace> rpiPlusPlace(int code);

// A protocol-0 record line: DEC, HEX, text and type, split at the first three tabs.
struct Protocol0Line {
    enum class Error { None, Numbering, Type };
    Error error = Error::None;
    long dec = -1;
    std::int64_t hex = -1;  // up to 0xFFFFFFFF
    std::string text;
    long type = 0;
};
Protocol0Line parseProtocol0Line(std::string_view line);

// An RPI+ record line: ":lead", DEC, HEX, text and the group digit after the fourth tab.
struct RpiPlusLine {
    enum class Error { None, MissingTab, TooLong, BadNumber, NotEqual, OutOfRange };
    Error error = Error::None;
    std::string decField;  // as written, for the messages
    int code = 0;
    std::string text;
    int group = 0;
};
RpiPlusLine parseRpiPlusLine(std::string_view line);

// A record line as the download writes it: code, three upper-case hex digits, text, type.
std::string protocol0RecordLine(int code, std::string_view text, std::uint8_t type);

// Lines of a text split at CR LF, CR or LF.
class LineReader {
  public:
    explicit LineReader(std::string_view text) : text_(text) {}
    bool atEnd() const { return pos_ >= text_.size(); }
    std::string_view next();
    // Skips blanks and line ends; false when nothing else remains.
    bool skipBlanks();

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace zelar
