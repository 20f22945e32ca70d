#pragma once

#include <ostream>

#include "app/core/app.h"

namespace zelar::cli {

// Prints what the window shows after a read: identification, status, and, as far as the login
// may open them, the modem pages and each user's page as the navigation would fill it.
// `withState` adds enabled/disabled and hidden.
void printSettingsReport(std::ostream& out, App& app, bool withState);

}  // namespace zelar::cli
