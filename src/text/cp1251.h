#pragma once

#include <string>

namespace zelar {

// Bytes for the modem and for files are Windows-1251; texts in the program are UTF-8.
// Characters without a Windows-1251 code become '?'; malformed UTF-8 sequences too.
std::string utf8ToCp1251(const std::string& utf8);
// Every byte has a character (0x98, which has none in the code page, the control U+0098), so
// that the bytes come back unchanged through utf8ToCp1251.
std::string cp1251ToUtf8(const std::string& cp1251);

// The number of characters of a UTF-8 text (continuation bytes not counted).
std::size_t utf8Length(const std::string& utf8);

}  // namespace zelar
