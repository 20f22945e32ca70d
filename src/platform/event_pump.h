#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

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
    // passed. With maxWaitMs <= 0 it only runs what is pending, at least one pass. Throws
    // ProgramEnding when it can no longer sleep because the program is ending.
    virtual void processEvents(int maxWaitMs) = 0;
    // One-shot timer; the callback runs from within processEvents or the main loop.
    virtual TimerId startTimer(int intervalMs, std::function<void()> callback) = 0;
    virtual void stopTimer(TimerId id) = 0;
};

// Raised by a wait once the program is ending: its event loop no longer sleeps, so the wait
// cannot last its time and the operation stops where it is, sending nothing more.
class ProgramEnding : public std::runtime_error {
  public:
    ProgramEnding() : std::runtime_error("the program is ending") {}
};

// Waits at least `ms` milliseconds while events keep running; events run at least once,
// also for 0. Sleeps in the event loop between events, never spins.
void PumpDelay(EventPump& pump, int ms);

// What a wait for a reply reads (everything received and not yet read) and how it tells that a
// reply is complete: nothing more can follow for the command that was sent.
using ReadAvailableFn = std::function<std::string()>;
using ReplyComplete = std::function<bool(const std::string& received)>;

// Slices of the fast wait: short enough to add little to a reply's line time, long enough to
// keep the event loop asleep most of the time.
inline constexpr int kFastWaitSliceMs = 5;

// A fixed wait of `ms` followed by reads of what arrived. Without `complete` it is exactly
// PumpDelay(ms) and one read. With it, it reads every slice and ends as soon as `complete`
// holds for all that was read; `ms` stays the upper bound. Either way it returns everything
// read, so an early end gives the very bytes the fixed wait would have read.
std::string PumpCollect(EventPump& pump, int ms, const ReadAvailableFn& read,
                        const ReplyComplete& complete = nullptr);

}  // namespace zelar
