#pragma once

#include <string>

#include "cli_options.h"

namespace zelar::cli {

// A command's files are checked before the port is opened, so that a wrong name costs no
// exchange with the modem and no download is thrown away at its end. Each prints
// "zelar-cli: <message naming the file and the reason>" and gives false when the file will
// not do.
bool inputFileReady(const std::string& path);
bool outputFileReady(const std::string& path);

// The one refusal of a file that is read as a settings file and is none:
// "zelar-cli: 'FILE' is not a settings file", on stderr.
void refuseAsNoSettingsFile(const std::string& path);

// Why a file that the command's arguments name will not do, checked for every command alike
// before anything else runs (a bad argument, exit status 2); empty when they all will. A
// dictionary to upload is checked whole here.
std::string commandFilesProblem(const CliOptions& options);

}  // namespace zelar::cli
