#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelar {

// How a character without a glyph is shown, in text output and HTML alike: a control byte
// (below 0x20, and 0x7F) as "\x1B"; a C1 control, U+0080 to U+009F (the modem's byte 0x98 is
// held as U+0098), as "\u0098", one character as JSON writes it and never the two bytes of its
// UTF-8, which would read as two stored bytes.
std::string controlEscape(unsigned codePoint);
// A byte that is no UTF-8, as "\xFF".
std::string byteEscape(unsigned char byte);

// The C1 control whose UTF-8 starts at `i` (0xC2 0x80 to 0xC2 0x9F), if one does.
bool isC1Control(std::string_view text, std::size_t i);

}  // namespace zelar
