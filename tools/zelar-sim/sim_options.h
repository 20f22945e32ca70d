#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "sim/sim_modem.h"

namespace zelar::simtool {

struct SimOptions {
    std::optional<int> comNumber;
    std::filesystem::path portsDir;
    std::optional<std::filesystem::path> stateFile;
    bool log = false;
    int backAfterMs = 1000;               // how long the modem stays away after its hang-up fault
    std::optional<std::string> firmware;  // set only when given, so a state file can keep its own
    std::string bootLoader = "102";
    sim::ModemOptions modem;
};

struct ParsedOptions {
    std::optional<SimOptions> options;  // nothing when the program should stop
    std::string help;                   // the help text, when it was asked for
    std::string error;
};

ParsedOptions parseOptions(const std::vector<std::string>& args);

// $XDG_CONFIG_HOME/Kalvimo/Zelar2/ports, with XDG_CONFIG_HOME defaulting to $HOME/.config.
std::filesystem::path defaultPortsDir();

}  // namespace zelar::simtool
