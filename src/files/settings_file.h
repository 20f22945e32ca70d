#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_image.h"

namespace zelar {

// What a settings file (".md2") holds: most of the settings image and a few window values.
struct SettingsFileContent {
    TSettingsImage image;
    // Line 1 after "Created: ": the time of saving as the user's locale writes it.
    std::string created;
    // Lines 2 and 3, for people only: the serial number and controller version texts as the
    // main window shows them. Only their first six and four characters are written.
    std::string serialNumber;
    std::string softVersion;
    // Bit 0: SIM 1's parameters are detected automatically; bit 1: SIM 2's.
    std::uint8_t autoDetect = 0;
};

// No settings file is anywhere near this large; a larger file is refused unread.
inline constexpr std::size_t kSettingsFileLimit = 1 << 20;

// The whole file, 94 lines in Windows-1251, each ended by CR LF.
std::string composeSettingsFile(const SettingsFileContent& content);

// Takes the values of the file into `content` when every line the file must hold is there and
// well formed: a number in hexadecimal that fits its field, a text that fits its field and
// holds no control character, a user's password of four digits. Otherwise false, and `content` is
// left as it was. Fields the file does not carry (the SIM card's phone number, the object
// parameters) keep their values.
bool parseSettingsFile(std::string_view bytes, SettingsFileContent& content);

// One value of the file where the window shows it: the page and the field as the window labels
// them (a flags byte by the controls that set its bits), and the value as its line holds it
// without the padding.
struct SettingsFileValue {
    std::string page;
    std::string field;
    std::string value;
};

// Every value that a load of the file sets, in the order of the window's pages.
std::vector<SettingsFileValue> settingsFileValues(const SettingsFileContent& content);

// The page and field, as the window labels them, of the settings memory byte at `address`;
// nothing for a byte the file carries no line for.
struct SettingsFieldName {
    std::string page;
    std::string field;
};
std::optional<SettingsFieldName> settingsFieldAt(std::uint16_t address);

}  // namespace zelar
