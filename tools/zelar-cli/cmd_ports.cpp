#include <algorithm>
#include <iostream>
#include <nlohmann/json.hpp>

#include "app/shell/find_modem.h"
#include "commands.h"
#include "escaping_buffer.h"
#include "interrupt.h"
#include "port_line.h"
#include "report_output.h"

namespace zelar::cli {

namespace {

using nlohmann::ordered_json;

std::string answerText(const PortProbe& probe) {
    if (!probe.identification)
        return answerWords(probe.answer);
    const Identification& id = *probe.identification;
    return "№ " + id.serialNumber + ", ПО " + id.firmwareVersion + ", загрузчик " +
           id.bootLoaderVersion;
}

const char* answerName(PortAnswer answer) {
    constexpr const char* kNames[] = {"modem", "none", "unrecognised", "unavailable", "notAsked"};
    return kNames[static_cast<int>(answer)];
}

// One port as the list shows it, with what it answered when it was asked.
struct ListedPort {
    std::string name;
    std::string toolTip;
    const PortProbe* probe;
};

void printText(const std::vector<ListedPort>& ports) {
    for (const ListedPort& p : ports) {
        const std::string name = escapedValue(p.name);
        std::string line = portLine(p.name, p.toolTip);
        // The answer right after the name, before the device's lines.
        if (p.probe != nullptr)
            line.insert(name.size(), '\t' + escapedValue(answerText(*p.probe)));
        std::cout << line << '\n';
    }
}

void printJson(const std::vector<ListedPort>& ports) {
    ordered_json list = ordered_json::array();
    for (const ListedPort& p : ports) {
        ordered_json port = {{"port", p.name}, {"description", p.toolTip}};
        if (p.probe != nullptr) {
            port["answer"] = answerName(p.probe->answer);
            if (const auto& id = p.probe->identification) {
                port["serialNumber"] = id->serialNumber;
                port["firmware"] = id->firmwareVersion;
                port["bootLoader"] = id->bootLoaderVersion;
            }
        }
        list.push_back(std::move(port));
    }
    writeUnescaped(
        std::cout,
        escapeControls(list.dump(2, ' ', false, ordered_json::error_handler_t::replace)) + "\n");
}

}  // namespace

int runPorts(CliSession& session, const CliOptions& options) {
    if (!options.port.empty() || options.user || !options.files.empty())
        return badArguments("'ports' takes no options but --probe and --json");
    if (!session.start())
        return 1;
    const std::vector<PortProbe> probes =
        options.probe ? findModem(session.app()) : std::vector<PortProbe>();
    const ComboBox& list = session.app().main.ComboBox1;
    std::vector<ListedPort> ports;
    for (std::size_t i = 0; i < list.items.size(); ++i) {
        const auto probe = std::find_if(probes.begin(), probes.end(), [&](const PortProbe& p) {
            return p.port == list.items[i];
        });
        ports.push_back({list.items[i], i < list.itemHints.size() ? list.itemHints[i] : "",
                         probe == probes.end() ? nullptr : &*probe});
    }
    if (options.json)
        printJson(ports);
    else
        printText(ports);
    if (!options.probe)
        return 0;
    const bool found = std::any_of(probes.begin(), probes.end(), [](const PortProbe& p) {
        return p.answer == PortAnswer::Modem;
    });
    return found && !interrupted() ? 0 : 1;
}

}  // namespace zelar::cli
