#include "text/control_escape.h"

#include "text/hex.h"

namespace zelar {

std::string controlEscape(unsigned codePoint) {
    if (codePoint < 0x80)
        return byteEscape(static_cast<unsigned char>(codePoint));
    return "\\u" + toHex(codePoint, 4);
}

std::string byteEscape(unsigned char byte) {
    return "\\x" + toHex(byte, 2);
}

bool isC1Control(std::string_view text, std::size_t i) {
    return i + 1 < text.size() && static_cast<unsigned char>(text[i]) == 0xC2 &&
           static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
           static_cast<unsigned char>(text[i + 1]) <= 0x9F;
}

}  // namespace zelar
