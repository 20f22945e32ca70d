#pragma once

#include <string>

#include "cli_options.h"
#include "cli_session.h"
#include "csv_table.h"
#include "diagnostics/signal_history.h"

namespace zelar::cli {

// diag --watch: the window's signal meter on the command line.
int runDiagWatch(CliSession& session, const CliOptions& options);

// One sample as a line: the time, the level in percent, a bar of 20 characters and the faults
// that are set (`faults`), or "нет ответа".
std::string watchLine(const std::string& time, const SignalSample& sample,
                      const std::string& faults);
// The closing line: lowest, highest and mean level and the missed replies.
std::string watchSummary(const SignalStats& stats);
// time, level byte, percent, fault flags (0x and four hexadecimal digits); a missed reply has
// only its time.
CsvRow watchCsvRow(const std::string& time, const SignalSample& sample);

}  // namespace zelar::cli
