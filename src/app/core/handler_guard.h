#pragma once

#include <functional>

#include "app/core/app.h"

namespace zelar {

// Runs a handler the way every front end does: an error of the serial port object that the
// handler does not turn into its own message reaches the user as an error box with the
// object's own text.
void runHandler(App& app, const std::function<void()>& handler);

// Shows a port object's error the way the windows do.
void reportPortError(App& app, const SerialError& error);

}  // namespace zelar
