#pragma once

namespace zelar::cli {

struct TerminalSize {
    int rows = 0;
    int columns = 0;
};

// The lines and columns that stdout's terminal shows, when stdout is a terminal that takes
// cursor movements, so that a table that fits can be redrawn in place; zeros otherwise. On
// Windows the console is asked to take them first.
TerminalSize liveTerminalSize();

}  // namespace zelar::cli
