#pragma once

#include <string>

#include "cli_options.h"

namespace zelar::cli {

// The archive of modems a command works with: --archive-file, else Modem.ini's [Archive] File,
// else archive.sqlite beside Modem.ini.
std::string archiveFileFor(const CliOptions& options);

// Whether the command records its visits: --archive or --archive-file, or the window's
// "Вести архив модемов" ([Archive] Enabled=1 in Modem.ini).
bool archiveRecording(const CliOptions& options);

}  // namespace zelar::cli
