#include "text/quoted.h"

#include "text/control_escape.h"

namespace zelar {

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += {'\\', c};
        } else if (byte < 0x20 || byte == 0x7F) {
            out += controlEscape(byte);
        } else if (isC1Control(text, i)) {
            out += controlEscape(static_cast<unsigned char>(text[++i]));
        } else {
            out += c;
        }
    }
    return out + '"';
}

}  // namespace zelar
