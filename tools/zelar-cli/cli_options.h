#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zelar::cli {

enum class Command { Help, Ports, Read, Script };

struct CliOptions {
    Command command = Command::Help;
    std::string port;  // "COM7"
    std::optional<int> user;
    std::string password;
    bool state = false;      // print enabled/disabled and hidden marks
    bool yes = false;        // answer questions with yes instead of their default
    std::string scriptPath;  // the script's file, "-" for stdin
};

struct ParseResult {
    std::optional<CliOptions> options;
    std::string error;  // set when options is empty
};

ParseResult parseCliOptions(const std::vector<std::string>& args);

extern const char* const kUsage;

}  // namespace zelar::cli
