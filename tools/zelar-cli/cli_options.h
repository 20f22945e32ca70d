#pragma once

#include <optional>
#include <string>
#include <string_view>
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
    bool probe = false;       // ports: ask every port which modem answers on it
    std::optional<int> retries;
    int retryDelayMs = 1000;  // the pause before each Retry answer
    std::optional<int> waitSeconds;
    std::string trace;  // a file for every byte of both links, when given
    // provision: the ports ("COM33-COM40,COM45"), its files and how many ports at once.
    std::string ports;
    std::string templateFile;
    std::string scriptFile;
    std::string settingsFile;  // script: a settings file in place of a modem
    std::string valuesFile;
    std::string reportFile;
    std::optional<int> jobs;
    // diag --watch: the signal meter, a sample every interval, until --count samples or Ctrl+C.
    bool watch = false;
    std::optional<int> intervalSeconds;
    std::optional<int> count;
    std::string csvFile;
    // report: the document's heading and secrets (--file names a settings file in place of a
    // modem).
    std::string installer;
    std::string site;
    bool withSecrets = false;
    // The archive of modems: --archive (the default one) or --archive-file records this
    // command's visits; archive's verbs name an entry (--at) and a site's details.
    bool archive = false;
    std::string archiveFile;
    std::optional<int> at;
    std::optional<std::string> siteName;
    std::optional<std::string> siteAddress;
    std::optional<std::string> siteNote;
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
// Whether the digits are a port's number as the port list writes it: 1 or more, without a
// leading zero (no list holds "COM0" or "COM007").
bool isPortNumber(std::string_view digits);

}  // namespace zelar::cli
