#pragma once

#include <map>
#include <string>

#include "platform/device_map.h"

namespace zelar::test {

// A fixed set of ports, each with the device behind it.
class FakeDeviceMap : public DeviceMap {
  public:
    std::vector<std::string> portNames() override {
        std::vector<std::string> names;
        for (const auto& [number, device] : devices)
            names.push_back("COM" + std::to_string(number));
        return names;
    }
    std::optional<std::string> devicePath(int portNumber) override {
        const auto it = devices.find(portNumber);
        if (it == devices.end())
            return std::nullopt;
        return it->second;
    }

    std::map<int, std::string> devices;
};

}  // namespace zelar::test
