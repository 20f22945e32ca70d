#pragma once

#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "settings/memory_map.h"
#include "settings/settings_image.h"

namespace zelar {

// The settings a modem leaves the factory with, and the fixed sequence of V16 writes that puts
// them back.

// One write of the sequence: an image region, whose data is composed from the settings image,
// or fixed bytes that the image does not give. `percent` is the share done once it is answered.
struct FactoryWrite {
    std::variant<RegionInstance, RegionWrite> data;
    int percent = 0;
};

// The DNS servers a modem leaves the factory with: the pair the GPRS page offers, which the
// window models hold.
struct FactoryDns {
    std::string_view server1;
    std::string_view server2;
};

// The settings image as the factory sets it; the firmware version number stays as it was.
void applyFactoryValues(TSettingsImage& image, FactoryDns dns);

// The writes in the order they are sent.
const std::vector<FactoryWrite>& factoryWrites();

// The address and data of a write; nothing only when an image text does not fit its field.
std::optional<RegionWrite> composeFactoryWrite(const FactoryWrite& write,
                                               const TSettingsImage& image);

}  // namespace zelar
