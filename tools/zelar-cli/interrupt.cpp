#include "interrupt.h"

#include <csignal>

namespace zelar::cli {

namespace {

volatile std::sig_atomic_t interruptedFlag = 0;

extern "C" void onInterrupt(int signal) {
    interruptedFlag = 1;
    std::signal(signal, SIG_DFL);
}

}  // namespace

void watchInterrupts() {
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
}

bool interrupted() {
    return interruptedFlag != 0;
}

}  // namespace zelar::cli
