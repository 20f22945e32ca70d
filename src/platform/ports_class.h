#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelar {

// A device of Windows' Ports class as the device manager keeps it: serial and parallel ports,
// Bluetooth links, USB adapters, a modem's own diagnostics port.
struct PortsClassDevice {
    std::string portName;      // its registry key's "PortName" ("COM5", "LPT1"); may be empty
    std::string friendlyName;  // what the device manager shows ("USB-SERIAL CH340 (COM5)")
};

// The number of a port name "COM<n>" (any case, n from 1 to 999); nothing for other texts.
std::optional<int> comNumberOfPortName(std::string_view name);

// The number of the last "(COM<n>)" in a friendly name; nothing when it names no COM port.
std::optional<int> comNumberOfFriendlyName(std::string_view friendlyName);

// The friendly name of COM<portNumber>, empty when no device is that port. A device's PortName
// decides which port it is; only a device without one is matched by its friendly name.
std::string friendlyNameOfPort(const std::vector<PortsClassDevice>& devices, int portNumber);

}  // namespace zelar
