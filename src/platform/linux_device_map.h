#pragma once

#include <filesystem>
#include <map>

#include "platform/device_map.h"

namespace zelar {

// Serial ports on Linux and other Unix systems. Links named COM<n> in the ports folder come
// first; every other serial device gets a fixed number: ttyS<k> -> COM(k+1),
// ttyUSB<k> -> COM(33+k), ttyACM<k> -> COM(65+k). A link overrides the fixed number it names.
// A device that is the system console is left out: opening it would write onto the console.
class LinuxDeviceMap : public DeviceMap {
  public:
    explicit LinuxDeviceMap(std::filesystem::path portsFolder,
                            std::filesystem::path devFolder = "/dev",
                            std::filesystem::path sysTtyFolder = "/sys/class/tty");

    std::vector<std::string> portNames() override;
    std::optional<std::string> devicePath(int portNumber) override;
    std::string portDescription(int portNumber) override;

    // Number -> device, links first; rebuilt on every call so plugged adapters show up.
    std::map<int, std::string> scan() const;

  private:
    bool isUsableDevice(const std::filesystem::path& device) const;

    std::filesystem::path portsFolder_;
    std::filesystem::path devFolder_;
    std::filesystem::path sysTtyFolder_;
};

// The fixed COM number of a device name such as "ttyUSB0"; nothing for other names.
std::optional<int> fixedPortNumber(const std::string& deviceName);

}  // namespace zelar
