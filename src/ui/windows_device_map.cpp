#include "ui/windows_device_map.h"

// setupapi.h needs the types of windows.h first; initguid.h makes devguid.h define the class
// GUIDs here, as no import library holds them.
// clang-format off
#include <windows.h>
#include <setupapi.h>
#include <initguid.h>
#include <devguid.h>
// clang-format on

#include "platform/ports_class.h"
#include "ui/wide_text.h"

namespace zelar::ui {

namespace {

// The "PortName" value of the device's own registry key; empty when it has none.
std::string portNameOf(HDEVINFO set, SP_DEVINFO_DATA& device) {
    const HKEY key = SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE)
        return {};
    wchar_t name[64] = {};
    DWORD bytes = sizeof name - sizeof(wchar_t);  // room for the NUL a value may lack
    DWORD type = 0;
    const LONG result =
        RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(name), &bytes);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_SZ ? utf8FromWide(name) : std::string();
}

std::string friendlyNameOf(HDEVINFO set, SP_DEVINFO_DATA& device) {
    wchar_t name[512] = {};
    DWORD type = 0;
    if (!SetupDiGetDeviceRegistryPropertyW(set, &device, SPDRP_FRIENDLYNAME, &type,
                                           reinterpret_cast<BYTE*>(name),
                                           sizeof name - sizeof(wchar_t), nullptr) ||
        type != REG_SZ) {
        return {};
    }
    return utf8FromWide(name);
}

// The present devices of the Ports class; empty when the device manager cannot be read.
std::vector<PortsClassDevice> portsClassDevices() {
    std::vector<PortsClassDevice> devices;
    const HDEVINFO set =
        SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE)
        return devices;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &device); ++index)
        devices.push_back({portNameOf(set, device), friendlyNameOf(set, device)});
    SetupDiDestroyDeviceInfoList(set);
    return devices;
}

}  // namespace

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
        names.push_back(utf8FromWide(data));
    }
    RegCloseKey(key);
    return names;
}

std::optional<std::string> WindowsDeviceMap::devicePath(int portNumber) {
    if (portNumber <= 0)
        return std::nullopt;
    return "COM" + std::to_string(portNumber);
}

std::string WindowsDeviceMap::portDescription(int portNumber) {
    const std::string friendly = friendlyNameOfPort(portsClassDevices(), portNumber);
    return friendly.empty() ? devicePath(portNumber).value_or("") : friendly;
}

}  // namespace zelar::ui
