#pragma once

#include "platform/device_map.h"

namespace zelar::ui {

// The serial ports Windows lists under HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM.
class WindowsDeviceMap : public DeviceMap {
  public:
    // The values' data ("COM3"), in the key's enumeration order; empty when the key is missing.
    std::vector<std::string> portNames() override;
    // "COM<n>": Windows itself decides whether there is such a device when it is opened.
    std::optional<std::string> devicePath(int portNumber) override;
};

}  // namespace zelar::ui
