#include "settings/identification.h"

#include <algorithm>

#include "text/hex.h"

namespace zelar {

namespace {

bool all(std::string_view text, bool (*wanted)(char)) {
    return std::all_of(text.begin(), text.end(), wanted);
}
bool decimalDigit(char c) {
    return c >= '0' && c <= '9';
}
bool hexDigit(char c) {
    return decimalDigit(c) || (c >= 'A' && c <= 'F');
}

}  // namespace

std::optional<Identification> decodeIdentification(std::string_view p) {
    if (p.size() < kIdentificationLength)
        return std::nullopt;
    const auto leading = hexPairValue(p[6], p[7]);
    if (!leading)
        return std::nullopt;
    Identification id;
    id.serialNumber = std::to_string(*leading) + std::string(p.substr(0, 6));
    id.firmwareVersion = (p[8] == '0' ? std::string() : std::string(1, p[8])) + p[9] + "." +
                         std::string(p.substr(10, 2));
    id.bootLoaderVersion = std::string(1, p[13]) + "." + std::string(p.substr(14, 2));
    id.firmwareNumber = parseDecimal(p.substr(8, 4)).value_or(0);
    return id;
}

bool isWellFormedIdentification(std::string_view p) {
    return p.size() == kIdentificationLength && all(p.substr(0, 8), hexDigit) &&
           all(p.substr(8, 4), decimalDigit) && all(p.substr(13, 3), decimalDigit);
}

}  // namespace zelar
