#include "platform/ports_class.h"

#include <cctype>

#include "text/hex.h"

namespace zelar {

namespace {

constexpr int kMaxPortNumber = 999;  // the port list keeps at most three digits

bool startsWithCom(std::string_view text) {
    return text.size() >= 3 && std::toupper(static_cast<unsigned char>(text[0])) == 'C' &&
           std::toupper(static_cast<unsigned char>(text[1])) == 'O' &&
           std::toupper(static_cast<unsigned char>(text[2])) == 'M';
}

}  // namespace

std::optional<int> comNumberOfPortName(std::string_view name) {
    if (!startsWithCom(name))
        return std::nullopt;
    const auto number = parseDecimal(name.substr(3));
    if (!number || *number < 1 || *number > kMaxPortNumber)
        return std::nullopt;
    return number;
}

std::optional<int> comNumberOfFriendlyName(std::string_view friendlyName) {
    // Drivers put the port last, in brackets; a product name may hold brackets of its own.
    for (auto open = friendlyName.rfind('('); open != std::string_view::npos;
         open = open == 0 ? std::string_view::npos : friendlyName.rfind('(', open - 1)) {
        const auto close = friendlyName.find(')', open);
        if (close == std::string_view::npos)
            continue;
        if (const auto number =
                comNumberOfPortName(friendlyName.substr(open + 1, close - open - 1)))
            return number;
    }
    return std::nullopt;
}

std::string friendlyNameOfPort(const std::vector<PortsClassDevice>& devices, int portNumber) {
    for (const PortsClassDevice& device : devices) {
        const auto number = device.portName.empty() ? comNumberOfFriendlyName(device.friendlyName)
                                                    : comNumberOfPortName(device.portName);
        if (number == portNumber && !device.friendlyName.empty())
            return device.friendlyName;
    }
    return {};
}

}  // namespace zelar
