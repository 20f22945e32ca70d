#include "diagnostics/diagnostics_reply.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>

#include "link/reply.h"

namespace zelar {

std::optional<std::array<std::uint8_t, 6>> takeDiagnosticsReply(const std::string& reply,
                                                                const DiagnosticsReplyForm& form) {
    if (reply.size() != form.length)
        return std::nullopt;
    const auto bytes = decodePayload(reply, form.payloadBytes);
    if (!bytes)
        return std::nullopt;
    std::array<std::uint8_t, 6> out{};
    std::copy(bytes->begin(), bytes->end(), out.begin());
    return out;
}

std::optional<BalanceReply> decodeBalanceReply(const std::string& reply) {
    const auto b = takeDiagnosticsReply(reply, kBalanceReplyForm);
    if (!b)
        return std::nullopt;
    const std::uint32_t bits = std::uint32_t{(*b)[2]} | std::uint32_t{(*b)[3]} << 8 |
                               std::uint32_t{(*b)[4]} << 16 | std::uint32_t{(*b)[5]} << 24;
    return BalanceReply{(*b)[0] == 0, (*b)[1] == 0, std::bit_cast<float>(bits)};
}

std::optional<FaultsReply> decodeFaultsReply(const std::string& reply) {
    const auto b = takeDiagnosticsReply(reply, kFaultsReplyForm);
    if (!b)
        return std::nullopt;
    return FaultsReply{static_cast<std::uint16_t>((*b)[0] | (*b)[1] << 8), (*b)[2]};
}

std::optional<int> signalPercent(std::uint8_t level) {
    if (level > kMaxSignalLevel)
        return std::nullopt;
    // Never a tie: 31 is odd and prime.
    return (level * 100 + kMaxSignalLevel / 2) / kMaxSignalLevel;
}

namespace {

std::string withSeparator(std::string text, std::string_view separator) {
    const auto dot = text.find('.');
    if (dot != std::string::npos)
        text.replace(dot, 1, separator);
    return text;
}

}  // namespace

std::string formatBalance(float value, std::string_view separator) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    const double v = value;
    const double magnitude = std::fabs(v);
    char text[64];
    // Six significant digits: 999999.5 and above no longer fit in fixed notation.
    if (magnitude >= 999999.5) {
        std::snprintf(text, sizeof text, "%.5E", v);
        return withSeparator(text, separator);
    }
    const int wholeDigits =
        magnitude < 1 ? 1 : static_cast<int>(std::floor(std::log10(magnitude))) + 1;
    const int decimals = std::clamp(6 - wholeDigits, 0, 2);
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    std::string out = text;
    if (decimals == 0)
        out += '.';
    out.append(static_cast<std::size_t>(2 - decimals), '0');
    // A tiny negative amount rounds to zero, which has no sign.
    if (out.front() == '-' && out.find_first_of("123456789") == std::string::npos)
        out.erase(0, 1);
    return withSeparator(out, separator);
}

}  // namespace zelar
