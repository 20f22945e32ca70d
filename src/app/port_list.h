#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/app.h"

namespace zelar {

// "COM" + number for every port of the map, unique, sorted as text without regard to case:
// COM1, COM10, COM11, COM2.
std::vector<std::string> enumeratePorts(DeviceMap& devices);

// The number of the selected port list entry: up to three characters after "COM". Nothing
// when no entry is selected or those characters are not a number.
std::optional<int> currentPortNumber(const TformMain& main);

// Opens the link on the current port, the way every operation starts. False when there is no
// port or it cannot be opened; the caller shows its own message.
bool openLinkOnCurrentPort(App& app);

}  // namespace zelar
