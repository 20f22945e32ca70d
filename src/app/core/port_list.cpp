#include "app/core/port_list.h"

#include <algorithm>
#include <cctype>

#include "text/hex.h"

namespace zelar {

namespace {

bool lessIgnoringCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) <
               std::tolower(static_cast<unsigned char>(y));
    });
}

// The port that the status bar says a modem was found on; empty when it says nothing of one.
std::string portFoundOn(const std::string& status) {
    const std::string_view found(kTextModemFound);
    if (status.rfind(found, 0) != 0)
        return {};
    const std::string label = status.substr(found.size());
    return label.substr(0, label.find(' '));
}

}  // namespace

std::vector<std::string> enumeratePorts(DeviceMap& devices) {
    std::vector<std::string> entries;
    for (const std::string& name : devices.portNames()) {
        const std::string entry = "COM" + (name.size() > 3 ? name.substr(3) : std::string());
        if (std::find(entries.begin(), entries.end(), entry) == entries.end()) {
            entries.push_back(entry);
        }
    }
    std::stable_sort(entries.begin(), entries.end(), lessIgnoringCase);
    return entries;
}

void refreshPortList(App& app) {
    ComboBox& ports = app.main.ComboBox1;
    const std::string selected = ports.itemIndex >= 0 ? ports.text : std::string();
    const std::vector<std::string> before = std::move(ports.items);
    const std::vector<std::string> labels = std::move(ports.itemLabels);
    ports.items = enumeratePorts(app.services.devices);
    ports.itemHints.clear();
    ports.itemLabels.clear();
    for (const std::string& item : ports.items) {
        const auto number = portNumberOf(item);
        ports.itemHints.push_back(number ? app.services.devices.portDescription(*number) : "");
        const auto was = std::find(before.begin(), before.end(), item);
        const auto k = static_cast<std::size_t>(was - before.begin());
        ports.itemLabels.push_back(k < labels.size() ? labels[k] : std::string());
    }
    selectItemText(ports, selected);
    std::string& status = app.main.StatusBar1.text;
    const std::string found = portFoundOn(status);
    if (!found.empty() &&
        std::find(ports.items.begin(), ports.items.end(), found) == ports.items.end())
        status.clear();
}

void ComboBox1DropDown(App& app) {
    refreshPortList(app);
}

std::optional<int> portNumberOf(const std::string& entry) {
    if (entry.size() <= 3)
        return std::nullopt;
    return parseDecimal(std::string_view(entry).substr(3, 3));
}

std::optional<int> currentPortNumber(const TformMain& main) {
    const ComboBox& ports = main.ComboBox1;
    if (ports.itemIndex < 0 || ports.itemIndex >= static_cast<int>(ports.items.size())) {
        return std::nullopt;
    }
    return portNumberOf(ports.items[static_cast<std::size_t>(ports.itemIndex)]);
}

bool openLinkOnCurrentPort(App& app) {
    const auto number = currentPortNumber(app.main);
    app.link.Close();
    if (!number)
        return false;
    try {
        app.link.Open(*number);
    } catch (const SerialError&) {
        return false;
    }
    return true;
}

}  // namespace zelar
