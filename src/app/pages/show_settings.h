#pragma once

#include "app/core/app.h"

namespace zelar {

inline constexpr const char* kTextBadLinkTestPeriod =
    "Некорректное значение периода тестов GPRS. Пожалуйста, выбрете период из предлженного списка";
inline constexpr const char* kUnknownPeriodText = "???";

// Fills the SIM, GPRS and object parameter pages from the settings image.
void ShowModemSettings(App& app);
// Fills the user page from user n (1 to 6) of the settings image.
void ShowUserSettings(App& app, int n);
// After the settings image changed without a read (a settings file, the factory values): the
// pages show what the image now holds, so that "Записать" never writes back older values.
void showImageOnPages(App& app);
// A settings file's image and SIM auto-detection flags taken as the window's settings, on the
// check boxes and the pages.
void showSettingsFromFile(App& app, const TSettingsImage& image, int autoDetect);

// Checks a radio button; its partner in the pair is unchecked, as a radio group does.
void checkRadio(RadioButton& button, RadioButton& partner);

}  // namespace zelar
