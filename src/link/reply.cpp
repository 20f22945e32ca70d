#include "link/reply.h"

#include "text/hex.h"

namespace zelar {

bool containsOK(const std::string& reply) {
    return reply.find("OK") != std::string::npos;
}

bool isCompleteAck(const std::string& received) {
    return received.ends_with("OK\r\n");
}

bool isCompleteFrame(const std::string& received, std::size_t length) {
    return received.size() == length && isCompleteAck(received);
}

bool checkFrame(const std::string& reply, std::size_t bytes) {
    const std::size_t length = dataReplyLength(bytes);
    return reply.size() == length && reply.compare(0, 2, "\r\n") == 0 &&
           reply.compare(length - 6, 6, "\r\nOK\r\n") == 0;
}

bool checkShortReply(const std::string& reply, std::size_t bytes, bool requireOK) {
    return reply.size() == dataReplyLength(bytes) && (!requireOK || containsOK(reply));
}

std::optional<std::string> payloadText(const std::string& reply, std::size_t first,
                                       std::size_t count) {
    if (first < 1 || reply.size() < 2 + (first - 1) + count)
        return std::nullopt;
    return reply.substr(2 + (first - 1), count);
}

std::optional<std::vector<std::uint8_t>> decodePayload(const std::string& reply,
                                                       std::size_t bytes) {
    const auto text = payloadText(reply, 1, 2 * bytes);
    if (!text)
        return std::nullopt;
    return hexToBytes(*text);
}

}  // namespace zelar
