#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/core/app.h"

namespace zelar {

// "COM" + number for every port of the map, unique, sorted as text without regard to case:
// COM1, COM10, COM11, COM2.
std::vector<std::string> enumeratePorts(DeviceMap& devices);

// The status bar after "Найти модем" found a modem: this, then the port's label.
inline constexpr const char* kTextModemFound = "Модем найден: ";

// Fills the port list from the system's ports as they are now, each item with its device as
// the tool tip, and keeps the selected port selected while it is still there, and what was
// found on each port that is still there. A status bar that names a modem found on a port that
// is gone is cleared.
void refreshPortList(App& app);

// The port list opens: an adapter plugged in since the last look appears in it.
void ComboBox1DropDown(App& app);

// The number of a port list entry: up to three characters after "COM". Nothing when those
// characters are not a number.
std::optional<int> portNumberOf(const std::string& entry);
// The number of the selected port list entry; nothing when no entry is selected.
std::optional<int> currentPortNumber(const TformMain& main);

// Opens the link on the current port, the way every operation starts. False when there is no
// port or it cannot be opened; the caller shows its own message.
bool openLinkOnCurrentPort(App& app);

}  // namespace zelar
