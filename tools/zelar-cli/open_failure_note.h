#pragma once

#include <string>

#include "ui/port_open_failure.h"

namespace zelar::cli {

// The line after "Не могу открыть порт": the window says only that the port cannot be opened,
// the command line adds why, and on Linux how to get the rights. Empty when nothing failed.
std::string openFailureNote(const ui::OpenFailureInfo& failure);

}  // namespace zelar::cli
