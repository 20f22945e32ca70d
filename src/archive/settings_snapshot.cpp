#include "archive/settings_snapshot.h"

namespace zelar::archive {

std::string encodeSnapshot(const SettingsSnapshot&) {
    return {};
}
std::optional<SettingsSnapshot> decodeSnapshot(std::string_view) {
    return std::nullopt;
}
std::vector<SettingsDifference> compareSnapshots(const SettingsSnapshot&, const SettingsSnapshot&) {
    return {};
}
bool isSecretDifference(const SettingsDifference&) {
    return false;
}
std::vector<std::string> differenceLines(const std::vector<SettingsDifference>&, const std::string&,
                                         const std::string&, bool) {
    return {};
}

}  // namespace zelar::archive
