#include "ui/config_paths.h"

#include <QDir>
#include <QStandardPaths>
#include <QtGlobal>

#ifdef _WIN32
#include "ui/windows_device_map.h"
#else
#include "platform/linux_device_map.h"
#endif

namespace zelar::ui {

namespace {

QString baseFolder() {
#ifdef _WIN32
    return QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA"));
#else
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
#endif
}

QString inConfigFolder(const QString& name) {
    const QString folder = configFolder();
    return folder.isEmpty() ? QString() : folder + '/' + name;
}

}  // namespace

QString configFolder() {
    const QString base = baseFolder();
    return base.isEmpty() ? QString() : base + "/Kalvimo/Zelar2";
}

QString modemIniPath() {
    return inConfigFolder("Modem.ini");
}

QString portsFolder() {
    return inConfigFolder("ports");
}

std::unique_ptr<DeviceMap> makeDeviceMap() {
#ifdef _WIN32
    return std::make_unique<WindowsDeviceMap>();
#else
    return std::make_unique<LinuxDeviceMap>(portsFolder().toStdString());
#endif
}

}  // namespace zelar::ui
