#include "sim/signal_plan.h"

#include <algorithm>

namespace zelar::sim {

std::uint8_t SignalMover::next(const SignalPlan& plan, std::uint8_t last) {
    if (!plan.levels.empty())
        return plan.levels[index_++ % plan.levels.size()];
    if (plan.walkStep <= 0)
        return last;
    constexpr int kTop = 31;
    const int from = last > kTop ? kTop / 2 : last;
    const int span = 2 * plan.walkStep + 1;
    const int step = static_cast<int>(random_() % static_cast<unsigned>(span)) - plan.walkStep;
    return static_cast<std::uint8_t>(std::clamp(from + step, 0, kTop));
}

}  // namespace zelar::sim
