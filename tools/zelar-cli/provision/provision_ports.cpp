#include "provision/provision_ports.h"

#include <algorithm>
#include <optional>

#include "cli_options.h"
#include "text/hex.h"

namespace zelar::cli {

namespace {

// More would be a typing error: one run cannot hold that many modems on one machine.
constexpr int kMostPorts = 256;

struct PortName {
    std::string prefix;  // the letters before the number
    int number = 0;
};

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// "COM33" as its prefix and number; nothing for a text that is no such name.
std::optional<PortName> splitName(std::string_view text) {
    const auto digits = text.find_first_of("0123456789");
    if (digits == 0 || digits == std::string_view::npos)
        return std::nullopt;
    // The prefix is letters: a dash or a blank in it is a typing error, not another kind of
    // port name.
    for (const char c : text.substr(0, digits)) {
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
            return std::nullopt;
    }
    const auto number = parseDecimal(text.substr(digits));
    if (!number || !isPortNumber(text.substr(digits)))
        return std::nullopt;
    return PortName{std::string(text.substr(0, digits)), *number};
}

// Adds the ports of one item ("COM33" or "COM33-COM40"); the reason when it will not do.
std::string addItem(std::string_view item, std::vector<std::string>& ports) {
    std::string quoted = "'";
    quoted.append(item).append("'");
    if (item.empty())
        return "an empty item in the list";
    const auto dash = item.find('-');
    const auto first = splitName(trimmed(item.substr(0, dash)));
    const auto last =
        dash == std::string_view::npos ? first : splitName(trimmed(item.substr(dash + 1)));
    // Each side named on its own: "COM210--COM211" has "-COM211" after its first dash.
    if (dash != std::string_view::npos && (!first || !last)) {
        const std::string_view side =
            trimmed(item.substr(first ? dash + 1 : 0, first ? item.npos : dash));
        return "'" + std::string(side) + "' in " + quoted + " is no port name such as COM33";
    }
    if (!first || !last)
        return quoted + " is no port name such as COM33 or range such as COM33-COM40";
    if (first->prefix != last->prefix)
        return quoted + " mixes two kinds of port names";
    if (first->prefix != "COM")
        return quoted + " is no port name such as COM33";
    if (last->number < first->number)
        return quoted + " runs backwards";
    if (last->number - first->number >= kMostPorts - static_cast<int>(ports.size()))
        return "more than " + std::to_string(kMostPorts) + " ports";
    for (int n = first->number; n <= last->number; ++n) {
        std::string name = "COM" + std::to_string(n);
        if (std::find(ports.begin(), ports.end(), name) != ports.end())
            return name + " is given twice";
        ports.push_back(std::move(name));
    }
    return {};
}

}  // namespace

PortList parsePortList(std::string_view text) {
    PortList list;
    if (trimmed(text).empty()) {
        list.error = "--ports needs port names such as COM33-COM40,COM45";
        return list;
    }
    for (std::size_t start = 0; start <= text.size();) {
        const auto comma = std::min(text.find(',', start), text.size());
        if (const std::string error =
                addItem(trimmed(text.substr(start, comma - start)), list.ports);
            !error.empty()) {
            return {{}, "--ports: " + error};
        }
        start = comma + 1;
    }
    return list;
}

}  // namespace zelar::cli
