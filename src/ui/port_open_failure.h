#pragma once

#include <string>

namespace zelar::ui {

// Why the last open of a port failed, as far as the system tells; the window says only that the
// port cannot be opened, the command line adds this.
enum class OpenFailure { None, NoDevice, InUse, Denied, Other };
struct OpenFailureInfo {
    OpenFailure kind = OpenFailure::None;
    int portNumber = 0;
    std::string text;  // the system's own words, for Other
};

}  // namespace zelar::ui
