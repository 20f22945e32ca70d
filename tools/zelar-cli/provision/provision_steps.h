#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "provision/provision_values.h"

namespace zelar::cli {

// Each port's work is a row of zelar-cli commands, one child process each.
enum class ProvisionStep { Read, Restore, Script, Verify };

std::string stepName(ProvisionStep step);

// What a provisioning run does on every port.
struct ProvisionPlan {
    std::vector<std::string> ports;
    std::optional<int> user;
    std::string password;
    std::string templateFile;           // restored, then verified with --verify; empty for none
    std::optional<std::string> script;  // the script's text, before its values are put in
    std::optional<ProvisionValues> values;
    bool verify = false;
    bool fast = false;
    bool yes = false;
    std::optional<int> retries;
    int retryDelayMs = 1000;
    std::size_t jobs = 0;     // ports worked at once
    std::string archiveFile;  // every step records its visit there; empty for none
};

std::vector<ProvisionStep> provisionSteps(const ProvisionPlan& plan);

// The zelar-cli arguments of a step on a port; `scriptFile` holds the port's script.
std::vector<std::string> stepArguments(ProvisionStep step, const ProvisionPlan& plan,
                                       const std::string& port, const std::string& scriptFile);

struct Identification {
    std::string serial;
    std::string firmware;
    std::string imei;
};

// The modem's serial number, firmware and IMEI from the output of `read --json`.
std::optional<Identification> identificationFromJson(std::string_view json);

// The percentage of a child's "progress N/M" line; nothing for another line.
std::optional<int> progressPercent(std::string_view line);

// Why a child's step failed, in one line: verify's first difference; else its last words on
// stderr (with the message box that they follow), else the first line of its output, else its
// exit status.
std::string childMessage(ProvisionStep step, const std::vector<std::string>& errorLines,
                         std::string_view output, int status);

}  // namespace zelar::cli
