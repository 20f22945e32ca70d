#pragma once

#include <string>
#include <string_view>

namespace zelar {

// Bytes for the modem and for files are Windows-1251; texts in the program are UTF-8.
// Characters without a Windows-1251 code become '?'; malformed UTF-8 sequences too.
std::string utf8ToCp1251(const std::string& utf8);
// Every byte has a character (0x98, which has none in the code page, the control U+0098), so
// that the bytes come back unchanged through utf8ToCp1251.
std::string cp1251ToUtf8(const std::string& cp1251);

// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or code points past
// U+10FFFF).
bool isValidUtf8(std::string_view bytes);
// The length of the well-formed UTF-8 character that starts at `i` (1 for ASCII), or 0 when
// the bytes there are none.
std::size_t utf8CharacterLength(std::string_view bytes, std::size_t i);
// A text file's bytes as UTF-8: kept when they are valid UTF-8, else read as Windows-1251, as
// Windows programs in a Russian locale save text.
std::string fileTextToUtf8(std::string_view bytes);

// The number of characters of a UTF-8 text (continuation bytes not counted).
std::size_t utf8Length(const std::string& utf8);

}  // namespace zelar
