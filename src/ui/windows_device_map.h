#pragma once

#include <string>

#include "platform/device_map.h"

namespace zelar::ui {

// The serial ports Windows lists under HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM, each
// described by the name the device manager shows for it.
class WindowsDeviceMap : public DeviceMap {
  public:
    WindowsDeviceMap() = default;
    // The same map kept under another key of HKEY_CURRENT_USER, for tests that cannot write the
    // system's own.
    explicit WindowsDeviceMap(std::wstring userKey) : userKey_(std::move(userKey)) {}

    // The values' text data ("COM3"), in the key's enumeration order; empty when the key is
    // missing. Values of another type are left out.
    std::vector<std::string> portNames() override;
    // "COM<n>": Windows itself decides whether there is such a device when it is opened.
    std::optional<std::string> devicePath(int portNumber) override;
    // The friendly name of the port's device in the Ports class ("USB-SERIAL CH340 (COM5)"),
    // which names the port itself; "COM<n>" when no device there is that port.
    std::string portDescription(int portNumber) override;

  private:
    std::wstring userKey_;
};

}  // namespace zelar::ui
