#pragma once

#include <string>

#include "platform/profile.h"

namespace zelar {

// Modem.ini's section of the archive, shared by the window ("Вести архив модемов") and
// zelar-cli: Enabled=1 keeps the archive; File names it, empty for the default one.
inline constexpr const char* kArchiveSection = "Archive";
inline constexpr const char* kArchiveEnabledKey = "Enabled";
inline constexpr const char* kArchiveFileKey = "File";
// The default archive, in the folder of Modem.ini.
inline constexpr const char* kArchiveDefaultName = "archive.sqlite";
inline constexpr const char* kTextArchiveNotWritten = "Архив не записан: ";

struct ArchiveSetting {
    bool enabled = false;
    std::string file;  // empty: the default archive
};

ArchiveSetting readArchiveSetting(Profile& profile);
void writeArchiveEnabled(Profile& profile, bool enabled);

// The archive's path: `file` when given, else the default archive in `configFolder`.
std::string archivePath(const ArchiveSetting& setting, const std::string& configFolder);

}  // namespace zelar
