#pragma once

#include "app/core/app.h"

namespace zelar {

// Each checks its page's fields in order and stores them into `image`: a copy of the settings
// image that the write composes its lines from, and that becomes the settings image only once
// the modem took them all. The first failed check shows its message and fails.
bool CollectUserSettings(App& app, int user, TSettingsImage& image);
bool CollectSimSettings(App& app, TSettingsImage& image);
bool CollectGprsSettings(App& app, TSettingsImage& image);

}  // namespace zelar
