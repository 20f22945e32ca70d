#pragma once

#include <string>

#include "app/core/app.h"
#include "archive/settings_snapshot.h"

namespace zelar {

// What the App holds of the modem after a read or a write: the settings file's lines, the
// object parameters, the voice and incoming call and the operating mode as the pages show them.
archive::SettingsSnapshot appSnapshot(const App& app);

// The serial number the last read showed; empty before a read.
std::string appSerialNumber(const App& app);

}  // namespace zelar
