#include "text/quoted.h"

#include "text/hex.h"

namespace zelar {

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
            out += {'\\', c};
        else if (byte < 0x20 || byte == 0x7F)
            out += "\\x" + toHex(byte, 2);
        else
            out += c;
    }
    return out + '"';
}

}  // namespace zelar
