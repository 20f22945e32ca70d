#pragma once

#include "app/app.h"

namespace zelar {

inline constexpr const char* kTextBadLinkTestPeriod =
    "Некорректное значение периода тестов GPRS. Пожалуйста, выбрете период из предлженного списка";
inline constexpr const char* kUnknownPeriodText = "???";

// Fills the SIM, GPRS and object parameter pages from the settings image.
void ShowModemSettings(App& app);
// Fills the user page from user n (1 to 6) of the settings image.
void ShowUserSettings(App& app, int n);

// Checks a radio button; its partner in the pair is unchecked, as a radio group does.
void checkRadio(RadioButton& button, RadioButton& partner);

}  // namespace zelar
