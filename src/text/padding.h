#pragma once

#include <string>

namespace zelar {

// Pads on the right with `fill` up to `width`; a longer text is returned whole, never cut.
std::string padRight(const std::string& text, std::size_t width, char fill = ' ');
// Left-pads with '0' to `width` decimal digits.
std::string zeroPadDecimal(long value, std::size_t width);
// The text up to its first space; all of it when it has none.
std::string cutAtFirstSpace(const std::string& text);
// The text up to its first NUL, as a field shows a text from the modem; all of it when it has
// none.
std::string cutAtFirstNul(const std::string& text);

}  // namespace zelar
