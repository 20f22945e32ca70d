#pragma once

#include <string>

namespace zelar::ui {

// The local date and time in the user's locale format (short form).
std::string localeTimeText();

}  // namespace zelar::ui
