#include "diagnostics/signal_history.h"

#include <algorithm>

namespace zelar {

std::optional<int> SignalSample::percent() const {
    return reply ? signalPercent(reply->level) : std::nullopt;
}

void SignalStats::add(const SignalSample& sample) {
    if (!sample.reply) {
        ++missed_;
        return;
    }
    ++replies_;
    const auto level = sample.percent();
    if (!level)
        return;
    lowest_ = levels_ == 0 ? *level : std::min(lowest_, *level);
    highest_ = levels_ == 0 ? *level : std::max(highest_, *level);
    sum_ += *level;
    ++levels_;
}

std::optional<int> SignalStats::lowest() const {
    return levels_ == 0 ? std::nullopt : std::optional<int>(lowest_);
}

std::optional<int> SignalStats::highest() const {
    return levels_ == 0 ? std::nullopt : std::optional<int>(highest_);
}

std::optional<int> SignalStats::mean() const {
    if (levels_ == 0)
        return std::nullopt;
    return static_cast<int>((sum_ * 2 + levels_) / (levels_ * 2LL));
}

void SignalHistory::add(const SignalSample& sample) {
    failuresInRow_ = sample.reply ? 0 : failuresInRow_ + 1;
    if (samples_.empty())
        firstAtMs_ = sample.atMs;
    samples_.push_back(sample);
    while (samples_.front().atMs < sample.atMs - kSpanMs)
        samples_.pop_front();
}

void SignalHistory::clear() {
    samples_.clear();
    failuresInRow_ = 0;
}

std::int64_t SignalHistory::durationMs() const {
    return samples_.empty() ? 0 : samples_.back().atMs - firstAtMs_;
}

SignalStats SignalHistory::stats() const {
    SignalStats stats;
    for (const SignalSample& sample : samples_)
        stats.add(sample);
    return stats;
}

}  // namespace zelar
