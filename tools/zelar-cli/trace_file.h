#pragma once

#include <optional>
#include <string>

#include "cli_options.h"

namespace zelar::cli {

// The file argument that --trace names too, if any: a trace written into a settings file or a
// dictionary would destroy it.
std::optional<std::string> traceSharedWithFile(const CliOptions& options);

}  // namespace zelar::cli
