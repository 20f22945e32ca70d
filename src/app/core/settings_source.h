#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/core/app.h"

namespace zelar {

inline constexpr const char* kTextNeedsModem =
    "Открыт файл настроек: эта операция выполняется только с модемом. Считайте настройки модема";
inline constexpr const char* kTextNewFileName = "Новый файл настроек";

// The refusal of a settings file that another program holds, naming it.
std::string fileInUseText(const std::string& path);

// The file's name as the window shows it: the last part of its path; for a file never saved,
// what it holds (an archived visit) or kTextNewFileName.
std::string settingsFileName(const SettingsSource& source);

// The lock of the settings file at `path` for a session on it: the one the window's session
// already holds for that file, or a new one (none where no lock can be made). Nothing, with
// fileInUseText shown, when another program holds the file.
std::optional<std::shared_ptr<FileLock>> holdSettingsFile(App& app, const std::string& path);

// With a settings file open, tells the user that the operation needs a modem and gives true:
// the caller then sends nothing.
bool refuseWithFileOpen(App& app);

// The pages now show a settings file: the caption and the "Модем" group name it, and a login
// must be made against its users.
void beginFileSession(App& app, SettingsSource source);
// A modem is being read: the file's session ends, and its login with it.
void endFileSession(App& app);

// What the window shows of its source of settings, put back when a read of a modem does not
// replace it: the source changes only when a read succeeds.
struct SourceView {
    TformMain main;
    TformSetup setup;
    TSettingsImage image;
    LoginState login;
    SettingsSource source;
    bool settingsRead = false;
    bool voiceCallUnread = false;
    std::shared_ptr<const TformMain> pagesShown;  // a copy of the App's, never changed
};
SourceView sourceView(const App& app);
void restoreSourceView(App& app, const SourceView& view);

}  // namespace zelar
