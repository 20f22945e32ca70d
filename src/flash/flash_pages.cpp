#include "flash_pages.h"

#include <string>

#include "link/commands.h"
#include "link/reply.h"

namespace zelar {

namespace {

// One exchange; nothing when the link is closed.
std::optional<std::string> exchange(TModemLink& link, const std::string& line, int settleMs,
                                    const ReplyComplete& complete) {
    if (!link.isOpen())
        return std::nullopt;
    link.Send(line);
    return link.WaitReply(settleMs, complete);
}

bool answeredOK(TModemLink& link, const std::string& line, int settleMs) {
    const auto reply = exchange(link, line, settleMs, isCompleteAck);
    return reply && containsOK(*reply);
}

}  // namespace

bool writeBufferChunk(TModemLink& link, std::uint16_t offset, std::span<const std::uint8_t> bytes,
                      int settleMs) {
    return answeredOK(link, commandV18(offset, {bytes.begin(), bytes.end()}), settleMs);
}

std::optional<std::vector<std::uint8_t>> readBufferChunk(TModemLink& link, std::uint16_t offset,
                                                         std::uint16_t length, int settleMs) {
    const std::size_t expected = dataReplyLength(length);
    const auto reply =
        exchange(link, commandV19(offset, length), settleMs,
                 [expected](const std::string& r) { return isCompleteFrame(r, expected); });
    if (!reply || !checkShortReply(*reply, length, true))
        return std::nullopt;
    return decodePayload(*reply, length);
}

bool storeBufferToPage(TModemLink& link, std::uint16_t page, int settleMs) {
    return answeredOK(link, commandV20(page), settleMs);
}

bool loadPageToBuffer(TModemLink& link, std::uint16_t page, int settleMs) {
    return answeredOK(link, commandV21(page), settleMs);
}

}  // namespace zelar
