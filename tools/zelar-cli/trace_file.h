#pragma once

#include <optional>
#include <string>

#include "cli_options.h"

namespace zelar::cli {

// Whether two names lead to the same file, through links too; for names of files not yet
// there, whether their paths agree.
bool sameFile(const std::string& a, const std::string& b);

// The file argument that --trace names too, if any: a trace written into a settings file or a
// dictionary would destroy it.
std::optional<std::string> traceSharedWithFile(const CliOptions& options);

}  // namespace zelar::cli
