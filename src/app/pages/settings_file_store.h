#pragma once

#include "app/core/app.h"
#include "files/settings_file.h"

namespace zelar {

inline constexpr const char* kSettingsFileFilter = "Настройки GSM-модема (*.md2)|*.md2";
inline constexpr const char* kSettingsFileExtension = ".md2";
inline constexpr const char* kSettingsFileOffered = "Настройки GSM-модема.md2";
inline constexpr const char* kTextWrittenToFile = "Настройки записаны в файл";

// What a settings file saved now would hold: the settings image and the auto-detection check
// boxes; with a file open, its own lines for people.
SettingsFileContent settingsFileContent(const App& app);

enum class FileStore { Stored, Cancelled, Failed };

// The open settings file written again whole with `image` (and the window's auto-detection
// check boxes), through the private atomic writer: complete or not at all. A file not yet
// named asks for its name first ("Сохранить как…"). The status bar tells of success, a box of
// failure; the source then names the file written.
FileStore storeIntoFile(App& app, const TSettingsImage& image);

}  // namespace zelar
