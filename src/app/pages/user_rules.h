#pragma once

#include "app/core/app.h"

namespace zelar {

inline constexpr const char* kTextOneMasterMustRemain =
    "В системе должен остаться хотябы один мастер";

// The fields and caption panels of a user that follow "Включить пользователя": both radio
// buttons, every field but the minutes, the lists, the check boxes and the captions.
void enableUserFields(TformMain& main, bool enabled);

// "Включить пользователя" clicked: enables or disables the user's fields.
void cbUserONClick(App& app);
// A message type picked: the hours field, the format lists and the test message check box.
void cbUserTypeMessChange(App& app);
// A status picked: one "Мастер" must remain among the stored users.
void cbUserStatusChange(App& app);
// The minutes field left: empty becomes "0", above 60 becomes "60".
void EditUserTtestmessMExit(App& app);

}  // namespace zelar
