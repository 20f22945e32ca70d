#pragma once

#include <string>

namespace zelar::cli {

// A port list entry on one line of `zelar-cli ports`: the name, then each line of its tool tip
// (the device and a USB adapter's product; on Windows the device manager's name), separated by
// tabs, each escaped onto its line. The name alone when the tool tip says no more than the name.
std::string portLine(const std::string& name, const std::string& toolTip);

}  // namespace zelar::cli
