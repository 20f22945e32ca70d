#include "diagnostics/signal_history.h"

#include <gtest/gtest.h>

#include <vector>

namespace zelar {
namespace {

// Levels as the fault command's level byte; -1 a missed reply.
SignalHistory historyOf(const std::vector<int>& levels, std::int64_t stepMs = 1000) {
    SignalHistory history;
    std::int64_t at = 0;
    for (const int level : levels) {
        SignalSample sample{at};
        if (level >= 0)
            sample.reply = FaultsReply{0, static_cast<std::uint8_t>(level)};
        history.add(sample);
        at += stepMs;
    }
    return history;
}

TEST(SignalHistory, StatsGapsAndFailuresInARow) {
    struct Row {
        std::vector<int> levels;
        std::int64_t stepMs;
        std::size_t held;
        int failuresInRow, missed;
        std::optional<int> lowest, highest, mean;
    };
    const Row rows[] = {
        {{}, 1000, 0, 0, 0, {}, {}, {}},
        // 100, 52, 23 and 0 percent; an undetermined level is neither a level nor a miss.
        {{31, 16, 7, 99, 0}, 1000, 5, 0, 0, 0, 100, 44},
        // A good reply in between starts the count of failures again.
        {{20, -1, -1, -1, -1, 20, -1, -1}, 1000, 8, 2, 6, 65, 65, 65},
        {{-1, -1, -1, -1, -1}, 1000, 5, 5, 5, {}, {}, {}},
        // Means round half up: 3% and 6% give 5%.
        {{1, 2}, 1000, 2, 0, 0, 3, 6, 5},
        // Five minutes are kept: at a minute a sample, the first of seven has gone.
        {{0, 31, 31, 31, 31, 31, 31}, 60'000, 6, 0, 0, 100, 100, 100},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::PrintToString(r.levels));
        const SignalHistory history = historyOf(r.levels, r.stepMs);
        const SignalStats stats = history.stats();
        EXPECT_EQ(history.samples().size(), r.held);
        EXPECT_EQ(history.failuresInRow(), r.failuresInRow);
        EXPECT_EQ(stats.missed(), r.missed);
        EXPECT_EQ(stats.lowest(), r.lowest);
        EXPECT_EQ(stats.highest(), r.highest);
        EXPECT_EQ(stats.mean(), r.mean);
    }
}

}  // namespace
}  // namespace zelar
