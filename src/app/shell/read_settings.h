#pragma once

#include "app/core/app.h"

namespace zelar {

inline constexpr int kReadProgressSteps = 26;
inline constexpr const char* kTextReading = "Чтение настроек модема...";
inline constexpr const char* kTextSettingsRead = "Настройки модема считаны";
inline constexpr const char* kTextSettingsReadEnterPassword =
    "Настройки модема считаны, введите пароль";
inline constexpr const char* kTextReadError = "Ошибка чтения настроек";
inline constexpr const char* kTextCannotOpenPort = "Не могу открыть порт";

// Reads the identification and the settings memory into the settings image and the pages.
void btnReadNastUserClick(App& app);

// Identification texts from the 16 characters of the V22 payload; false when the leading part
// of the serial number is not a hexadecimal pair.
bool showIdentification(App& app, const std::string& payload);

}  // namespace zelar
