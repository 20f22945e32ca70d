#pragma once

#include "app/core/app.h"

namespace zelar {

// The service window `TformSetup`: its own events and the operations that are not part of a
// settings file, the dictionary or the firmware.

// The window is shown: the progress texts of earlier operations are cleared.
void FormSetupShow(App& app);
// The window is closed: the firmware file's details and its progress are cleared.
void FormSetupClose(App& app);

// "Восстановить заводские настройки": factory values into the image and into the modem. True
// when every write was answered with "OK".
bool ButtonSetDefaultClick(App& app);

// An item of ComBoxWorkAs was picked: after a question, writes the mode and restarts the modem.
// True when the modem took the mode and confirmed its restart.
bool ComBoxWorkAsChange(App& app);

}  // namespace zelar
