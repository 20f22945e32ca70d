#pragma once

#include <string>

namespace zelar::cli {

enum class PortResult { Waiting, Running, Ok, Failed };

// What a provisioning run knows of one port: the modem's identification once read, the step
// under way (or the one that failed) and how the port ended.
struct PortProgress {
    std::string port;
    std::string serial;
    std::string firmware;
    std::string imei;
    std::string step;
    int percent = 0;
    PortResult result = PortResult::Waiting;
    std::string message;  // why it failed, one line
    double seconds = 0;   // from its first step's start to its end
};

}  // namespace zelar::cli
