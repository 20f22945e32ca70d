#include "interrupt.h"

#include <csignal>

namespace zelar::cli {

namespace {

volatile std::sig_atomic_t interruptedFlag = 0;
bool outputLostFlag = false;

extern "C" void onInterrupt(int signal) {
    interruptedFlag = 1;
    std::signal(signal, SIG_DFL);
}

}  // namespace

void watchInterrupts() {
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
#ifdef SIGHUP
    std::signal(SIGHUP, onInterrupt);
#endif
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_IGN);
#endif
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

bool interrupted() {
    return interruptedFlag != 0;
}

void noteOutputLost() {
    outputLostFlag = true;
}

bool outputLost() {
    return outputLostFlag;
}

}  // namespace zelar::cli
