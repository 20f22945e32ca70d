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
// well formed: a number in hexadecimal that fits its field, a text that fits its field.
// Otherwise false, and `content` is left as it was. Every file composeSettingsFile writes is
// read; whether its values may go into a modem is firstUnwritableValue's question. Fields the
// file does not carry (the SIM card's phone number, the object parameters) keep their values.
// The serial number and version lines are taken as they stand, for people only.
bool parseSettingsFile(std::string_view bytes, SettingsFileContent& content);

// One value of the file where the window shows it: the page and the field as the window labels
// them (a flags byte by the controls that set its bits), and the value as its line holds it
// without the padding.
struct SettingsFileValue {
    std::string page;
    std::string field;
    std::string value;
};

// Every value that a load of the file sets, in the order of the window's pages. With
// `restoredFrom`, only those that a load of that file writes to the modem: not the
// auto-detection check boxes, nor the USSD number and access point of a SIM that file has
// detected automatically.
std::vector<SettingsFileValue> settingsFileValues(
    const SettingsFileContent& content, const SettingsFileContent* restoredFrom = nullptr);

// A value of a file that cannot go on as it stands: where it stands and why.
struct SettingsLineProblem {
    int line = 0;         // from 1
    std::string section;  // the header it stands under: "User6"
    std::string field;    // as the window labels it: "Пароль"
    std::string value;    // as the line holds it
    std::string reason;
};

// 'строка 75, User6, Пароль: "12a4" — не четыре цифры'.
std::string problemText(const SettingsLineProblem& problem);

// For a file that parseSettingsFile reads: the first value, in the file's order, that must not
// be written to a modem. A user's password that is not four digits could never be logged in
// to; a SIM card's PIN that is not four digits, or PUK not eight, would be offered to the card
// and lock it. Nothing when every value may be written.
std::optional<SettingsLineProblem> firstUnwritableValue(std::string_view bytes);

// The texts that a line of the file cannot carry: those holding a CR or LF, each of which the
// file gets as "?". The line numbers are those composeSettingsFile writes.
std::vector<SettingsLineProblem> lineBreakProblems(const SettingsFileContent& content);

// The page and field, as the window labels them, of the settings memory byte at `address`;
// nothing for a byte the file carries no line for.
struct SettingsFieldName {
    std::string page;
    std::string field;
};
std::optional<SettingsFieldName> settingsFieldAt(std::uint16_t address);

}  // namespace zelar
