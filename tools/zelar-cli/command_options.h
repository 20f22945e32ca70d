#pragma once

#include <string_view>

namespace zelar::cli {

// Whether the command uses the option ("--template" for provision, not for read): an option
// that a command would pass over is refused rather than ignored.
bool commandTakes(std::string_view command, std::string_view option);

}  // namespace zelar::cli
