#pragma once

#include <span>
#include <string>
#include <string_view>

#include "cli_options.h"
#include "cli_session.h"

namespace zelar::cli {

// One command of zelar-cli: its name, its lines of the help text, and what it does. `run`
// returns the exit status: 0 when the handler reported success, 1 when it did not, 2 for
// arguments the command cannot take (after printing why).
struct CliCommand {
    std::string_view name;
    std::string_view usage;
    int (*run)(CliSession& session, const CliOptions& options);
};

std::span<const CliCommand> cliCommands();
const CliCommand* findCommand(std::string_view name);
// The whole help text.
std::string usageText();

// The exit status when stdout could not take the whole output (a full disk, a closed file).
inline constexpr int kOutputNotWritten = 3;

// Prints "zelar-cli: <message>" and gives status 2.
int badArguments(const std::string& message);

// The commands, one file each.
int runDiag(CliSession& session, const CliOptions& options);
int runBackup(CliSession& session, const CliOptions& options);
int runPorts(CliSession& session, const CliOptions& options);
int runRead(CliSession& session, const CliOptions& options);
int runRestore(CliSession& session, const CliOptions& options);
int runScript(CliSession& session, const CliOptions& options);
int runNew(CliSession& session, const CliOptions& options);
int runDictUpload(CliSession& session, const CliOptions& options);
int runDictDownload(CliSession& session, const CliOptions& options);
int runDefaults(CliSession& session, const CliOptions& options);
int runMode(CliSession& session, const CliOptions& options);
int runFirmwareInfo(CliSession& session, const CliOptions& options);
int runFlash(CliSession& session, const CliOptions& options);
int runVerify(CliSession& session, const CliOptions& options);
int runDiff(CliSession& session, const CliOptions& options);
int runProvision(CliSession& session, const CliOptions& options);
int runReport(CliSession& session, const CliOptions& options);
int runArchive(CliSession& session, const CliOptions& options);

}  // namespace zelar::cli
