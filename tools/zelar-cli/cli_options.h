#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zelar::cli {

// The options every command may take; each command checks the ones it needs.
struct CliOptions {
    std::string command;
    std::string port;  // "COM7"
    std::optional<int> user;
    std::string password;
    bool state = false;       // print enabled/disabled and hidden marks
    bool yes = false;         // answer questions with yes instead of their default
    bool fast = false;        // the fast exchange: waits end once a complete reply is in
    bool verify = false;      // each settings write read back and compared
    bool json = false;        // the output as one JSON object instead of lines
    bool asRestored = false;  // verify: only what restoring the file writes
    bool exact = false;       // script: a set that the field would change fails its line
    std::optional<int> retries;
    int retryDelayMs = 1000;  // the pause before each Retry answer
    std::optional<int> waitSeconds;
    std::string trace;  // a file for every byte of both links, when given
    // provision: the ports ("COM33-COM40,COM45"), its files and how many ports at once.
    std::string ports;
    std::string templateFile;
    std::string scriptFile;
    std::string valuesFile;
    std::string reportFile;
    std::optional<int> jobs;
    // report: a settings file instead of a modem, and the document's heading and secrets.
    std::string settingsFile;
    std::string installer;
    std::string site;
    bool withSecrets = false;
    std::vector<std::string> files;  // the arguments that are not options
};

struct ParseResult {
    std::optional<CliOptions> options;
    std::string error;  // set when options is empty and no help was asked for
    std::string help;   // the text asked for with --help, for the tool or one command
};

// Splits the arguments into the command (a subcommand each), its options and its other
// arguments.
ParseResult parseCliOptions(const std::vector<std::string>& args);

// Whether the text names a port as the port list does: "COM" and a number.
bool isPortName(const std::string& text);

}  // namespace zelar::cli
