// What only the Windows build has: the serial device map from the registry and the Win32
// serial port object.
#include <windows.h>

#include <gtest/gtest.h>

#include "ui/win32_serial_port.h"
#include "ui/windows_device_map.h"

namespace zelar::ui {
namespace {

const wchar_t* const kKey = L"Software\\Kalvimo\\Zelar2Test\\SERIALCOMM";

void setValue(HKEY key, const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
    ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes),
              ERROR_SUCCESS);
}

TEST(WindowsDeviceMap, ListsTheTextValuesOfTheMapAndSkipsOthers) {
    RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    setValue(key, L"\\Device\\Serial0", REG_SZ, L"COM3", 5 * sizeof(wchar_t));
    const DWORD number = 7;
    setValue(key, L"\\Device\\Number", REG_DWORD, &number, sizeof number);
    const std::wstring tooLong(300, L'X');
    setValue(key, L"\\Device\\Long", REG_SZ, tooLong.c_str(),
             static_cast<DWORD>((tooLong.size() + 1) * sizeof(wchar_t)));
    setValue(key, L"\\Device\\VCP0", REG_SZ, L"COM12", 6 * sizeof(wchar_t));
    RegCloseKey(key);

    WindowsDeviceMap map(kKey);
    EXPECT_EQ(map.portNames(), (std::vector<std::string>{"COM3", "COM12"}));
    EXPECT_EQ(map.devicePath(12), "COM12");
    EXPECT_EQ(map.devicePath(0), std::nullopt);

    RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    EXPECT_TRUE(map.portNames().empty());
}

TEST(Win32SerialPort, APortThatIsNotThereFailsTheOpenWithItsDevice) {
    WindowsDeviceMap map;
    Win32SerialPort port(map);
    try {
        port.open(219, LineSettings{});
        FAIL() << "opened COM219";
    } catch (const SerialError& error) {
        EXPECT_STREQ(error.what(), "Can't open device COM219");
        EXPECT_EQ(error.fault, PortFault::Open);
        EXPECT_EQ(error.detail, "COM219");
    }
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.readAll(), "");
}

}  // namespace
}  // namespace zelar::ui
