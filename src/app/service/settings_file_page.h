#pragma once

#include "app/core/app.h"
#include "files/settings_file.h"

namespace zelar {

// How a settings file operation ended.
enum class SettingsFileResult {
    Cancelled,  // the file dialog was cancelled, or another operation held the link
    Failed,     // a message told why
    Saved,      // the file was written
    Loaded,     // the file was taken into the settings but not written to the modem
    Written,    // the file was taken into the settings and written to the modem
};

// What a settings file saved now would hold: the settings image and the auto-detection check
// boxes.
SettingsFileContent settingsFileContent(const App& app);

// "Сохранить настройки в файл": the settings image and the auto-detection check boxes into
// a ".md2" file.
SettingsFileResult BtnSaveParClick(App& app);
// "Считать настройки из файла": a ".md2" file into the settings image and the check boxes,
// then, when the user agrees, into the modem.
SettingsFileResult BtnLoadParClick(App& app);

}  // namespace zelar
