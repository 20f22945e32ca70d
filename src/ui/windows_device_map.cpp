#include "ui/windows_device_map.h"

#include <windows.h>

#include <QString>

namespace zelar::ui {

std::vector<std::string> WindowsDeviceMap::portNames() {
    std::vector<std::string> names;
    HKEY key = nullptr;
    const bool own = userKey_.empty();
    if (RegOpenKeyExW(own ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER,
                      own ? L"HARDWARE\\DEVICEMAP\\SERIALCOMM" : userKey_.c_str(), 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return names;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t valueName[256];
        DWORD nameLength = 256;
        wchar_t data[257] = {};
        DWORD dataBytes = 256 * sizeof(wchar_t);
        DWORD type = 0;
        const LONG result = RegEnumValueW(key, index, valueName, &nameLength, nullptr, &type,
                                          reinterpret_cast<BYTE*>(data), &dataBytes);
        // A value too long for a port name is no port; the ones after it still are.
        if (result == ERROR_MORE_DATA)
            continue;
        if (result != ERROR_SUCCESS)
            break;
        if (type != REG_SZ)
            continue;
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
