#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelar {

// The replies of the three diagnostics commands. Each is taken after one fixed wait and judged
// by its exact length; its data bytes follow the reply's leading CR LF.
struct DiagnosticsReplyForm {
    std::size_t length;        // the one reply length accepted
    std::size_t payloadBytes;  // data bytes decoded from the start of the payload
};

inline constexpr DiagnosticsReplyForm kTestReplyForm{6, 0};      // V23: bare acknowledgement
inline constexpr DiagnosticsReplyForm kBalanceReplyForm{20, 6};  // V24: SIM, status, balance
// V25: two fault bytes and the level; the character after them (the modem's PIN error digit)
// is not taken.
inline constexpr DiagnosticsReplyForm kFaultsReplyForm{15, 3};

// The wait between sending a diagnostics command and reading its reply.
inline constexpr int kDiagnosticsWaitMs = 100;

// The data bytes when the reply has exactly the form's length and its data characters are
// hexadecimal digits; nothing otherwise (a garbled reply counts as no reply).
std::optional<std::array<std::uint8_t, 6>> takeDiagnosticsReply(const std::string& reply,
                                                                const DiagnosticsReplyForm& form);

struct BalanceReply {
    bool mainSim = true;     // current SIM byte 0
    bool simDefined = true;  // SIM status byte 0
    float balance = 0;       // IEEE single, least significant byte first
};
std::optional<BalanceReply> decodeBalanceReply(const std::string& reply);

struct FaultsReply {
    std::uint16_t flags = 0;  // first byte low, second byte high
    std::uint8_t level = 0;   // signal level: 0..31, above 31 not determined
};
std::optional<FaultsReply> decodeFaultsReply(const std::string& reply);

// Fault flags shown, bit 0 upwards; the higher bits are not shown.
inline constexpr int kShownFaultBits = 10;
constexpr bool faultBit(std::uint16_t flags, int bit) {
    return ((flags >> bit) & 1U) != 0;
}

inline constexpr int kMaxSignalLevel = 31;
// The level as a percentage of the best, rounded; nothing when it is not determined.
std::optional<int> signalPercent(std::uint8_t level);
// The signal bars, left to right: each is lit when the level is above its mark.
inline constexpr std::array<int, 5> kSignalBarMarks = {0, 6, 12, 18, 24};
constexpr bool signalBarLit(std::uint8_t level, int bar) {
    return level <= kMaxSignalLevel && level > kSignalBarMarks[static_cast<std::size_t>(bar)];
}

// The balance in fixed notation with two decimals and at most six significant digits, with
// `separator` between the whole and the fractional part. A number of more than six whole
// digits is shown as d.dddddE+XX; NaN as "NAN", infinities as "INF" and "-INF".
std::string formatBalance(float value, std::string_view separator);

}  // namespace zelar
