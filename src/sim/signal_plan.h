#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace zelar::sim {

// How the signal level moves while the modem runs, so that a meter has something to show.
// Each fault command (V25) reports the next level of `levels`, round and round; without
// levels, a `walkStep` above 0 moves the level by at most that much at random each time,
// within 0 to 31. Neither: the level stays as set.
struct SignalPlan {
    std::vector<std::uint8_t> levels;
    int walkStep = 0;
};

class SignalMover {
  public:
    // The level the next fault command reports, given the one reported last.
    std::uint8_t next(const SignalPlan& plan, std::uint8_t last);

  private:
    std::size_t index_ = 0;
    std::minstd_rand random_;  // fixed seed: a run's walk repeats
};

}  // namespace zelar::sim
