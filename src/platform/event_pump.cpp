#include "platform/event_pump.h"

namespace zelar {

void PumpDelay(EventPump& pump, int ms) {
    const std::int64_t start = pump.tickMs();
    do {
        const std::int64_t remaining = ms - (pump.tickMs() - start);
        pump.processEvents(remaining > 0 ? static_cast<int>(remaining) : 0);
    } while (pump.tickMs() - start < ms);
}

}  // namespace zelar
