#pragma once

#include <QString>
#include <memory>

#include "platform/device_map.h"

namespace zelar::ui {

// The per-user folder of the configuration: "Kalvimo/Zelar2" under the roaming application
// data folder on Windows and under the XDG configuration folder elsewhere. Empty when the
// system does not say where that is.
QString configFolder();
// "Modem.ini" in the configuration folder; empty when the folder is unknown.
QString modemIniPath();
// Where COM<n> links to serial devices are kept on Unix.
QString portsFolder();

// The system's serial device map.
std::unique_ptr<DeviceMap> makeDeviceMap();

}  // namespace zelar::ui
