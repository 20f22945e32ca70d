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

// Which values of a settings file are compared.
enum class CompareScope {
    Everything,
    // What a load of the second side writes to the modem: for a modem against the file
    // restored into it.
    WhatLoadWrites,
};

// The values a settings file holds that differ between `first` and `second`, in the order of
// the window's pages, compared byte for byte.
std::vector<SettingsDifference> compareSettings(const SettingsFileContent& first,
                                                const SettingsFileContent& second,
                                                CompareScope scope = CompareScope::Everything);

// "page / field: <firstName> "X", <secondName> "Y"", each value quoted (control bytes as
// "\x1B", '"' as '\"') so that the line stays one line.
std::string differenceLine(const SettingsDifference& difference, const std::string& firstName,
                           const std::string& secondName);

}  // namespace zelar
