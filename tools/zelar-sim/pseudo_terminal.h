#pragma once

#include <string>

namespace zelar::simtool {

// A raw pseudo-terminal. The simulator keeps its own slave descriptor open for its whole life,
// so the master never reads EIO while the program has the port closed.
class PseudoTerminal {
  public:
    PseudoTerminal();  // throws std::runtime_error when no pty can be made
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    int masterFd() const { return master_; }
    const std::string& devicePath() const { return path_; }
    // The speed the program set on its side; 0 when it is not one of the usual rates.
    int baudRate() const;

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

}  // namespace zelar::simtool
