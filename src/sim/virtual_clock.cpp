#include "sim/virtual_clock.h"

namespace zelar::sim {

bool VirtualClock::runDue() {
    bool ran = false;
    while (!queue_.empty() && queue_.begin()->first.first <= nowUs_) {
        auto node = queue_.extract(queue_.begin());
        keys_.erase(node.key().second);
        node.mapped()();
        ran = true;
    }
    return ran;
}

void VirtualClock::processEvents(int maxWaitMs) {
    ++passes_;
    if (runDue() || maxWaitMs <= 0)
        return;
    std::int64_t target = nowUs_ + static_cast<std::int64_t>(maxWaitMs) * 1000;
    if (!queue_.empty() && queue_.begin()->first.first < target) {
        target = queue_.begin()->first.first;
    }
    nowUs_ = target;
    runDue();
}

EventPump::TimerId VirtualClock::scheduleAtUs(std::int64_t dueUs, std::function<void()> callback) {
    const TimerId id = nextId_++;
    const Key key{dueUs, id};
    queue_.emplace(key, std::move(callback));
    keys_.emplace(id, key);
    return id;
}

EventPump::TimerId VirtualClock::startTimer(int intervalMs, std::function<void()> callback) {
    return scheduleAtUs(nowUs_ + static_cast<std::int64_t>(intervalMs) * 1000, std::move(callback));
}

void VirtualClock::stopTimer(TimerId id) {
    const auto it = keys_.find(id);
    if (it == keys_.end())
        return;
    queue_.erase(it->second);
    keys_.erase(it);
}

void VirtualClock::advanceMs(std::int64_t ms) {
    advanceUs(ms * 1000);
}

void VirtualClock::advanceUs(std::int64_t us) {
    const std::int64_t end = nowUs_ + us;
    while (!queue_.empty() && queue_.begin()->first.first <= end) {
        nowUs_ = std::max(nowUs_, queue_.begin()->first.first);
        runDue();
    }
    // An event that waited itself may have carried the clock past the end; it never goes back.
    nowUs_ = std::max(nowUs_, end);
}

}  // namespace zelar::sim
