#pragma once

#include <string>

#include "cli_options.h"
#include "cli_session.h"
#include "report.h"

namespace zelar::cli {

// JSON text as the library dumped it, with DEL and the C1 controls (which it leaves raw and a
// terminal may take as commands) written as \u escapes; write it past the terminal escaping.
std::string escapeControls(const std::string& text);

// The report as one JSON object: the command, "ok", the sections with their controls (and
// their state when the report carries it), the differences of a comparison, and the message
// boxes shown.
std::string reportJson(const Report& report, const std::string& command, bool ok,
                       const std::vector<ShownMessage>& messages);

// Prints the report on stdout in the form asked for (--json or text) and gives back `status`,
// the command's exit status, which the form does not change.
int printReport(CliSession& session, const CliOptions& options, const Report& report, int status);

}  // namespace zelar::cli
