#pragma once

#include <string>

#include "app/core/app.h"
#include "files/settings_file.h"

namespace zelar {

inline constexpr const char* kTextNoFileOpen = "Файл настроек не открыт";
inline constexpr const char* kTextNoDifferences = "Нет различий";
inline constexpr const char* kTextCompareCaption = "Сравнение с модемом";

// A settings file's lines on the pages with no port touched, as a load for a restore takes
// them: the file becomes the source of the window's settings and a login against its users is
// needed. Every file that parses opens, also one a restore would refuse: here it is mended.
// False, with the message shown, when the file cannot be read or is no settings file.
bool openSettingsFile(App& app, const std::string& path);

// Settings that no file holds yet (an archived visit) on the pages as a file named `name`: its
// first "Записать" asks where to save it.
void openSettingsContent(App& app, const SettingsFileContent& content, const std::string& name);

// The factory values of "Восстановить заводские настройки" as a settings file's content.
SettingsFileContent factorySettingsFile(const App& app);

// The "Файл" menu. Each is refused while another operation holds the link.
bool MenuOpenFileClick(App& app);
// The factory values as an unnamed file; its first "Записать" asks for its name.
bool MenuNewFileClick(App& app);
// The open file's settings under a new name, which the session then goes on with.
bool MenuSaveAsClick(App& app);
// The open file restored into the modem on the selected port, as the service window restores a
// file but whole: the SIM cards' access settings and their automatic detection too, so that the
// modem is left as the file is. The file stays open.
bool MenuWriteFileClick(App& app);
// Reads the modem on the selected port with the login of the file's user and shows where the
// file and the modem differ. The file's session, pages and login are as before afterwards.
bool MenuCompareClick(App& app);

}  // namespace zelar
