#pragma once

#include "app/core/app.h"
#include "platform/profile.h"

namespace zelar {

constexpr const char* kProfileSection = "Modem";
constexpr const char* kProfileCom = "Com";
constexpr const char* kProfileExpert = "Expert";
constexpr const char* kProfileFast = "FastExchange";
constexpr const char* kProfileVerify = "VerifyWrites";

// Main window start-up: port list, last port, display mode, information page, blank user page,
// logged out. `profile` is null when the configuration could not be created: the user is told
// and false means the program must end.
bool FormShow(App& app, Profile* profile);

// Saves the selected port and the display mode; nothing when the folder cannot be created.
void FormClose(App& app, Profile& profile);

// The user settings page as it stands before anything is read.
void resetUserPage(TformMain& main);

}  // namespace zelar
