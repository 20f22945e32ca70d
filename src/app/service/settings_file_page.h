#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/core/app.h"
#include "app/pages/settings_file_store.h"
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

// Why a settings file is not loaded: the message box the window shows and, for a value that
// must not be written to a modem, its line and why (the command line adds it after the box).
struct LoadRefusal {
    std::string text;
    MessageIcon icon = MessageIcon::Error;
    std::string reason;
};

// Takes a settings file's bytes into `content` for a load when nothing in them forbids it;
// otherwise the refusal, and `content` is left as it was.
std::optional<LoadRefusal> takeFileForLoad(std::string_view bytes, SettingsFileContent& content);

// "Сохранить настройки в файл": the settings image and the auto-detection check boxes into
// a ".md2" file.
SettingsFileResult BtnSaveParClick(App& app);
class ExchangeRunner;
// What a restore writes. The service window's load leaves the access settings of a SIM under
// automatic detection, and the detection itself, to the check boxes and a later "Записать";
// the main window's "Записать файл в модем…" leaves the modem as the file is.
enum class RestoreScope { AsLoad, WholeFile };
// A settings file's bytes taken into the settings image and the check boxes, as a load takes
// them, then, when the user agrees, written into the modem on the runner's link.
SettingsFileResult restoreSettings(App& app, ExchangeRunner& run, std::string_view bytes,
                                   RestoreScope scope = RestoreScope::AsLoad);

// "Считать настройки из файла": a ".md2" file into the settings image and the check boxes,
// then, when the user agrees, into the modem.
SettingsFileResult BtnLoadParClick(App& app);

}  // namespace zelar
