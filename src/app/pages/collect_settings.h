#pragma once

#include "app/core/app.h"

namespace zelar {

// Each checks its page's fields in order and stores them into the settings image. The first
// failed check shows its message and fails; what was stored before it stays stored.
bool CollectUserSettings(App& app, int user);
bool CollectSimSettings(App& app);
bool CollectGprsSettings(App& app);

}  // namespace zelar
