#pragma once

namespace zelar::cli {

// From here on SIGINT, SIGTERM and SIGHUP (the terminal closed) only mark the program
// interrupted, so that it can end its exchange in order; a second signal ends it at once, as
// usual. SIGPIPE and SIGXFSZ are ignored: a write to a closed pipe or past the file size limit
// then fails as an output error instead of killing the program mid-write.
void watchInterrupts();
bool interrupted();

// Output that can no longer be written (a closed pipe, a full disk, a file over its size limit)
// ends the command as well, but after the step in flight: the modem's reply to a write already
// sent is still taken, so that what it holds can be named.
void noteOutputLost();
bool outputLost();

}  // namespace zelar::cli
