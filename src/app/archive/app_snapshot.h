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
// The controller firmware's version the last read showed: "2.05".
std::string appFirmwareVersion(const App& app);
// The diagnostics page's level and the faults set: "Уровень: 62%; Ошибка SIM CARD".
std::string appDiagnostics(const App& app);

}  // namespace zelar
