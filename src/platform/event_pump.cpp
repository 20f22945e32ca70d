#include "platform/event_pump.h"

#include <algorithm>

namespace zelar {

void PumpDelay(EventPump& pump, int ms) {
    const std::int64_t start = pump.tickMs();
    do {
        const std::int64_t remaining = ms - (pump.tickMs() - start);
        pump.processEvents(remaining > 0 ? static_cast<int>(remaining) : 0);
    } while (pump.tickMs() - start < ms);
}

std::string PumpCollect(EventPump& pump, int ms, const ReadAvailableFn& read,
                        const ReplyComplete& complete) {
    if (!complete) {
        PumpDelay(pump, ms);
        return read();
    }
    std::string received;
    const std::int64_t start = pump.tickMs();
    for (;;) {
        const std::int64_t remaining = ms - (pump.tickMs() - start);
        PumpDelay(pump, static_cast<int>(std::min<std::int64_t>(
                            std::max<std::int64_t>(remaining, 0), kFastWaitSliceMs)));
        received += read();
        if (complete(received) || pump.tickMs() - start >= ms)
            return received;
    }
}

}  // namespace zelar
