#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <utility>

#include "pseudo_terminal.h"
#include "sim/sim_modem.h"

namespace zelar::simtool {

// Runs the modem on the pseudo-terminal in real time: bytes from the program go to the modem
// when they are read, and each byte the modem sends is written when its line time has passed,
// at the speed the program set on its side of the pty.
class RealtimeRunner {
  public:
    RealtimeRunner(sim::SimModem& modem, PseudoTerminal& pty,
                   std::optional<std::filesystem::path> stateFile);

    enum class End { Stopped, HungUp };
    // Runs until "T" arrives on `controlFd` (Stopped) or the modem's hang-up fault strikes
    // (HungUp); "P" there switches the modem off and on.
    End run(int controlFd);
    // Saves the state now if it changed since the last save.
    void saveIfChanged();
    // Saves the state now, changed or not: at exit the file always holds the modem's state.
    void save();

    static std::int64_t monotonicUs();

  private:
    void followLineSpeed(std::int64_t nowUs);
    void queueOutput();
    void writeDue(std::int64_t nowUs);
    void readInput();
    int pollTimeoutMs(std::int64_t nowUs) const;

    sim::SimModem& modem_;
    PseudoTerminal& pty_;
    std::optional<std::filesystem::path> stateFile_;
    std::uint64_t savedRevision_;
    std::int64_t lastSaveUs_ = 0;
    int lineBaud_ = 0;
    std::deque<std::pair<std::int64_t, char>> pending_;  // byte and when it has crossed the line
};

}  // namespace zelar::simtool
