#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sim/modem_store.h"

namespace zelar::sim {

// What the modem measures about itself, reported by the diagnostics commands.
struct Diagnostics {
    std::uint8_t currentSim = 0;  // 0 the main SIM, else the reserve one
    std::uint8_t simStatus = 0;   // 0 registered
    float balance = 123.45f;
    std::uint16_t faultFlags = 0;
    std::uint8_t signalLevel = 17;  // 0..31, above 31 not determined
    bool pinError = false;          // sent as the digit after the signal level
};

inline constexpr std::string_view kOkReply = "\r\nOK\r\n";
inline constexpr std::string_view kRefusedReply = "\r\nERROR\r\n";

// One command line carried out on the store.
struct CommandOutcome {
    int command = -1;  // the V-command number; -1 when the line is not one
    std::string reply;
    std::size_t payloadSize = 0;  // characters after the leading CR LF that carry data
    bool slow = false;            // flash work takes longer than a memory access
    bool restart = false;         // the modem restarts once the reply has gone out
    bool changed = false;         // settings, page buffer or flash changed
};

// Carries out one line (without its CR). An empty line gets no reply; "AT" gets "OK"; a line
// that is not a known V-command with well-formed fields inside the modem's memory is refused
// with CR LF "ERROR" CR LF, and the store is left as it was.
CommandOutcome runCommand(ModemStore& store, const Diagnostics& diagnostics, std::string_view line);

// The firmware version as a number (205 for "0205"); 0 when it is not four digits.
int firmwareNumber(const ModemStore& store);

}  // namespace zelar::sim
