#pragma once

#include <cstdint>
#include <functional>

namespace zelar {

// The toolkit's event loop as the logic sees it: a millisecond clock, a way to let pending
// events run while waiting, and one-shot timers.
class EventPump {
  public:
    using TimerId = int;

    virtual ~EventPump() = default;

    // Milliseconds since an arbitrary start; never goes back.
    virtual std::int64_t tickMs() = 0;
    // Runs what is pending; when nothing is, sleeps until something arrives or maxWaitMs has
    // passed. With maxWaitMs <= 0 it only runs what is pending, at least one pass.
    virtual void processEvents(int maxWaitMs) = 0;
    // One-shot timer; the callback runs from within processEvents or the main loop.
    virtual TimerId startTimer(int intervalMs, std::function<void()> callback) = 0;
    virtual void stopTimer(TimerId id) = 0;
};

// Waits at least `ms` milliseconds while events keep running; events run at least once,
// also for 0. Sleeps in the event loop between events, never spins.
void PumpDelay(EventPump& pump, int ms);

}  // namespace zelar
