#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <utility>

#include "platform/event_pump.h"

namespace zelar::sim {

// An event pump whose time moves only when the program waits: a wait jumps straight to the
// next due event or to its end, so a 5-second time-out runs in microseconds and the same way
// every time. Time is kept in microseconds so line timing at 115200 baud stays exact.
class VirtualClock : public EventPump {
  public:
    std::int64_t tickMs() override { return nowUs_ / 1000; }
    void processEvents(int maxWaitMs) override;
    TimerId startTimer(int intervalMs, std::function<void()> callback) override;
    void stopTimer(TimerId id) override;

    std::int64_t nowUs() const { return nowUs_; }
    // Runs `callback` when the clock reaches `dueUs` (at once on the next pass when past).
    TimerId scheduleAtUs(std::int64_t dueUs, std::function<void()> callback);
    // Moves time forward by `ms`, running every event that falls due on the way.
    void advanceMs(std::int64_t ms);
    // The same in microseconds, for line timing checks finer than a millisecond.
    void advanceUs(std::int64_t us);

    // How often processEvents ran; lets tests see that a wait let events through.
    int passes() const { return passes_; }
    bool hasPendingEvents() const { return !queue_.empty(); }

  private:
    // Runs every event due at the current time, in order of time and scheduling; true if any ran.
    bool runDue();

    using Key = std::pair<std::int64_t, TimerId>;  // due time, then scheduling order
    std::map<Key, std::function<void()>> queue_;
    std::map<TimerId, Key> keys_;
    std::int64_t nowUs_ = 0;
    TimerId nextId_ = 1;
    int passes_ = 0;
};

}  // namespace zelar::sim
