#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "campaign/operations.h"
#include "campaign/oracle.h"

namespace zelar::campaign {

struct Settings {
    std::uint64_t seed = 1;
    std::string dir;          // for the files the operations make
    std::string restoreFrom;  // an installed modem's settings file
    // "OPERATION/TEXT": faults whose description contains TEXT are not armed in that operation.
    std::vector<std::string> skip;
};

// One operation of a campaign, run fault-free and with its fault, and judged.
struct OpReport {
    std::size_t index = 0;
    const Operation* op = nullptr;
    std::string fault;  // how the fault was armed; empty for none
    Verdict verdict;
    sim::ModemStore after;  // the faulty run's memories: where the next operation starts
};

// Everything about operation `index` of a campaign comes from this number.
std::uint64_t operationSeed(std::uint64_t seed, std::size_t index);
OpReport runOperation(const Settings& s, const sim::ModemStore& before, std::size_t index);

// The operations `indices` in order from an installed modem; true when the last one violates.
bool lastViolates(const Settings& s, const std::vector<std::size_t>& indices);
// A shortest sequence found (by removing operations) that still ends in a violation.
std::vector<std::size_t> shrink(const Settings& s, std::vector<std::size_t> indices);

// The settings file of an installed modem, written at `path`.
bool writeInstalledSettingsFile(const std::string& path);

}  // namespace zelar::campaign
