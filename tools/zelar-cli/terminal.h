#pragma once

namespace zelar::cli {

// Whether stdout is a terminal that takes cursor movements, so that a table can be redrawn in
// place. On Windows the console is asked to take them first.
bool stdoutIsLiveTerminal();

}  // namespace zelar::cli
