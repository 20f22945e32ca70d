#include "ui/windows_device_map.h"

#include <windows.h>

#include <QString>

namespace zelar::ui {

std::vector<std::string> WindowsDeviceMap::portNames() {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return names;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t valueName[256];
        DWORD nameLength = 256;
        wchar_t data[257] = {};
        DWORD dataBytes = 256 * sizeof(wchar_t);
        DWORD type = 0;
        if (RegEnumValueW(key, index, valueName, &nameLength, nullptr, &type,
                          reinterpret_cast<BYTE*>(data), &dataBytes) != ERROR_SUCCESS) {
            break;
        }
        // The data is cut at its first NUL, as a text.
        names.push_back(QString::fromWCharArray(data).toStdString());
    }
    RegCloseKey(key);
    return names;
}

std::optional<std::string> WindowsDeviceMap::devicePath(int portNumber) {
    if (portNumber <= 0)
        return std::nullopt;
    return "COM" + std::to_string(portNumber);
}

}  // namespace zelar::ui
