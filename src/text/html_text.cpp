#include "text/html_text.h"

#include <cstddef>

#include "text/control_escape.h"
#include "text/cp1251.h"

namespace zelar {

std::string htmlText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        const auto byte = static_cast<unsigned char>(c);
        if (isC1Control(text, i)) {
            out += controlEscape(static_cast<unsigned char>(text[i + 1]));
            i += 2;
            continue;
        }
        if (byte >= 0x80) {
            const std::size_t length = utf8CharacterLength(text, i);
            out += length ? text.substr(i, length) : byteEscape(byte);
            i += length ? length : 1;
            continue;
        }
        ++i;
        if (byte < 0x20 || byte == 0x7F)
            out += controlEscape(byte);
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
