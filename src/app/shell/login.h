#pragma once

#include <optional>
#include <string>

#include "app/core/app.h"

namespace zelar {

inline constexpr const char* kTextPasswordAccepted = "Пароль принят";

// The login: compares the typed password with the selected user's password as read.
void ButtonApplyPasswordClick(App& app);
// Enter in the password field does what the button does; other keys are typing.
void EditPasswordKeyDown(App& app, int keyCode);

// The login as that user with the password, as typed into the window.
bool logInAs(App& app, int user, const std::string& password);
// " Считать" and, with a user, the login as that user with the password: what the command line
// does before its work. False when the read or the login failed.
bool readAndLogIn(App& app, std::optional<int> user, const std::string& password);

// The name of a login role; empty for a value without one.
std::string roleName(int role);

}  // namespace zelar
