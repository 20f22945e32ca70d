#include "text/html_text.h"

#include <cstddef>

#include "text/cp1251.h"
#include "text/hex.h"

namespace zelar {

namespace {

// The length of the UTF-8 character that starts at `i`; 0 when the bytes there are none, and for
// U+0080 to U+009F, controls that would steer nothing in a page but show as nothing.
std::size_t characterLength(const std::string& text, std::size_t i) {
    const std::size_t length = utf8CharacterLength(text, i);
    if (length == 2 && static_cast<unsigned char>(text[i]) == 0xC2 &&
        static_cast<unsigned char>(text[i + 1]) < 0xA0)
        return 0;
    return length;
}

}  // namespace

std::string htmlText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            const std::size_t length = characterLength(text, i);
            out += length ? text.substr(i, length) : "\\x" + toHex(byte, 2);
            i += length ? length : 1;
            continue;
        }
        ++i;
        if (byte < 0x20 || byte == 0x7F)
            out += "\\x" + toHex(byte, 2);
        else if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '"')
            out += "&quot;";
        else if (c == '\'')
            out += "&#39;";
        else
            out += c;
    }
    return out;
}

}  // namespace zelar
