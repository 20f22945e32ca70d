#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zelar {

// The serial ports present, as the system names them ("COM3"), and the device behind each.
class DeviceMap {
  public:
    virtual ~DeviceMap() = default;

    // Port names in the system's own order; empty when the map cannot be read.
    virtual std::vector<std::string> portNames() = 0;
    // The device to open for COM<number>; nothing when there is no such port.
    virtual std::optional<std::string> devicePath(int portNumber) = 0;
    // What the port list shows as the port's tool tip: the device and, for a USB adapter, its
    // product name, one per line. The device alone when the system tells no more.
    virtual std::string portDescription(int portNumber) {
        return devicePath(portNumber).value_or("");
    }
};

}  // namespace zelar
