#include "files/settings_compare.h"

#include "text/quoted.h"

namespace zelar {

std::vector<SettingsDifference> compareSettings(const SettingsFileContent& first,
                                                const SettingsFileContent& second,
                                                CompareScope scope) {
    // Both sides are taken by the second's load, so that they keep the same fields.
    const SettingsFileContent* load = scope == CompareScope::WhatLoadWrites ? &second : nullptr;
    const std::vector<SettingsFileValue> a = settingsFileValues(first, load);
    const std::vector<SettingsFileValue> b = settingsFileValues(second, load);
    std::vector<SettingsDifference> differences;
    // Both lists come from the same table, so they hold the same fields in the same order.
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (a[i].value != b[i].value)
            differences.push_back({a[i].page, a[i].field, a[i].value, b[i].value});
    }
    return differences;
}

std::string differenceLine(const SettingsDifference& difference, const std::string& firstName,
                           const std::string& secondName) {
    return difference.page + " / " + difference.field + ": " + firstName + " " +
           quoted(difference.first) + ", " + secondName + " " + quoted(difference.second);
}

}  // namespace zelar
