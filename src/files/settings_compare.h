#pragma once

#include <string>
#include <vector>

#include "files/settings_file.h"

namespace zelar {

// A value of a settings file that two settings differ in.
struct SettingsDifference {
    std::string page;
    std::string field;
    std::string first;
    std::string second;
};

// The values a settings file holds that differ between `first` and `second`, in the order of
// the window's pages.
std::vector<SettingsDifference> compareSettings(const SettingsFileContent& first,
                                                const SettingsFileContent& second);

// "page / field: <firstName> "X", <secondName> "Y"".
std::string differenceLine(const SettingsDifference& difference, const std::string& firstName,
                           const std::string& secondName);

}  // namespace zelar
