#include "app/archive/archive_setting.h"

namespace zelar {

ArchiveSetting readArchiveSetting(Profile& profile) {
    ArchiveSetting setting;
    setting.enabled = profile.readInt(kArchiveSection, kArchiveEnabledKey, 0) == 1;
    setting.file = profile.readText(kArchiveSection, kArchiveFileKey, "");
    return setting;
}

void writeArchiveEnabled(Profile& profile, bool enabled) {
    profile.writeInt(kArchiveSection, kArchiveEnabledKey, enabled ? 1 : 0);
}

std::string archivePath(const ArchiveSetting& setting, const std::string& configFolder) {
    if (!setting.file.empty())
        return setting.file;
    if (configFolder.empty())
        return kArchiveDefaultName;
    return configFolder + "/" + kArchiveDefaultName;
}

}  // namespace zelar
