#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "link/modem_link.h"

namespace zelar {

// The modem's flash is reached only through its 256-byte page buffer: chunks move between the
// program and the buffer, and whole pages between the buffer and the flash. Each command is
// one exchange: send, wait the settle time the caller gives, take what arrived as the reply.
// Nothing is sent on a closed link, and the command fails.

inline constexpr std::uint16_t kFlashPageSize = 256;

// V18: true when the reply holds "OK".
bool writeBufferChunk(TModemLink& link, std::uint16_t offset, std::span<const std::uint8_t> bytes,
                      int settleMs);
// V19: the bytes, when the reply has exactly its length, holds "OK" and only hexadecimal
// digits where the bytes stand.
std::optional<std::vector<std::uint8_t>> readBufferChunk(TModemLink& link, std::uint16_t offset,
                                                         std::uint16_t length, int settleMs);
// V20: the whole buffer into the page; true when the reply holds "OK".
bool storeBufferToPage(TModemLink& link, std::uint16_t page, int settleMs);
// V21: the page into the buffer; true when the reply holds "OK".
bool loadPageToBuffer(TModemLink& link, std::uint16_t page, int settleMs);

}  // namespace zelar
