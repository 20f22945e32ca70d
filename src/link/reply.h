#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zelar {

// Replies: CR LF + payload (two hex digits a byte) + CR LF "OK" CR LF, so n data bytes make
// 2n + 8 characters and a bare acknowledgement 6. A reply is judged only by its exact length,
// its full frame or the presence of "OK".

constexpr std::size_t dataReplyLength(std::size_t bytes) {
    return 2 * bytes + 8;
}
constexpr std::size_t kAckReplyLength = 6;

// "OK" anywhere in the reply.
bool containsOK(const std::string& reply);
// Exact length 2n + 8, CR LF first and CR LF "OK" CR LF last.
bool checkFrame(const std::string& reply, std::size_t bytes);
// Exact length 2n + 8, and "OK" somewhere when `requireOK`.
bool checkShortReply(const std::string& reply, std::size_t bytes, bool requireOK);

// Complete replies, for the fast exchange: nothing more follows for the command.
// A bare acknowledgement or the end of any reply: the last characters are "OK" CR LF.
bool isCompleteAck(const std::string& received);
// A reply of exactly `length` characters that ends in "OK" CR LF.
bool isCompleteFrame(const std::string& received, std::size_t length);

// `count` payload characters starting at payload character `first` (numbered from 1 at the
// first character after the leading CR LF); nothing when the reply is too short.
std::optional<std::string> payloadText(const std::string& reply, std::size_t first,
                                       std::size_t count);
// The n payload bytes of a reply, pair by pair. Nothing when the reply is too short or a
// character is not an upper-case hex digit: a garbled payload is never taken as data.
std::optional<std::vector<std::uint8_t>> decodePayload(const std::string& reply, std::size_t bytes);

}  // namespace zelar
