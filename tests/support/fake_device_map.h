#pragma once

#include <map>

#include "platform/device_map.h"

namespace zelar::test {

// Ports present by number, in the order given to `names`.
class FakeDeviceMap : public DeviceMap {
  public:
    std::vector<std::string> portNames() override { return names; }
    std::optional<std::string> devicePath(int portNumber) override {
        const auto it = paths.find(portNumber);
        if (it == paths.end())
            return std::nullopt;
        return it->second;
    }

    std::vector<std::string> names;
    std::map<int, std::string> paths;
};

}  // namespace zelar::test
