#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "diagnostics/diagnostics_reply.h"

namespace zelar {

// One sample of the signal meter: the fault command's reply at a moment, or nothing when the
// reply failed.
struct SignalSample {
    std::int64_t atMs = 0;
    std::optional<FaultsReply> reply;

    // The level in percent as the page shows it; nothing for a failed reply or a level the
    // modem did not determine.
    std::optional<int> percent() const;
};

// Lowest, highest and mean level in percent over samples, and how many replies failed.
class SignalStats {
  public:
    void add(const SignalSample& sample);

    int replies() const { return replies_; }  // samples whose reply arrived
    int levels() const { return levels_; }    // of them, those that gave a level
    int missed() const { return missed_; }
    std::optional<int> lowest() const;
    std::optional<int> highest() const;
    // Rounded to a whole percent.
    std::optional<int> mean() const;

  private:
    int replies_ = 0;
    int levels_ = 0;
    int missed_ = 0;
    int lowest_ = 0;
    int highest_ = 0;
    long long sum_ = 0;
};

// The meter's memory: the samples of the last five minutes and the run of failed replies.
class SignalHistory {
  public:
    static constexpr std::int64_t kSpanMs = 5 * 60 * 1000;
    // Failed replies in a row that end the meter.
    static constexpr int kFailuresToStop = 5;

    void add(const SignalSample& sample);
    void clear();

    const std::deque<SignalSample>& samples() const { return samples_; }
    // Failed replies since the last good one.
    int failuresInRow() const { return failuresInRow_; }
    // Over the samples held.
    SignalStats stats() const;
    // From the first sample since the history was cleared to the newest, older samples dropped
    // or not.
    std::int64_t durationMs() const;

  private:
    std::deque<SignalSample> samples_;
    std::int64_t firstAtMs_ = 0;
    int failuresInRow_ = 0;
};

}  // namespace zelar
