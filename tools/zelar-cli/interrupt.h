#pragma once

namespace zelar::cli {

// From here on SIGINT and SIGTERM only mark the program interrupted, so that it can end its
// exchange in order; a second signal ends it at once, as usual.
void watchInterrupts();
bool interrupted();

}  // namespace zelar::cli
