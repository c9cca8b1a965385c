#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace cva::play_tool {

// Frame times of a run and the process's CPU time, for --stats: the interval between frame
// starts (the pacing) and the work of a frame (the player's step, the software render and the
// present).
class PlayStats {
 public:
  using Clock = std::chrono::steady_clock;

  PlayStats();
  void Frame(Clock::time_point start, Clock::time_point end);
  // "N frames; interval mean/max; work mean/max; CPU user+system over the wall time (share)".
  std::string Report() const;

 private:
  Clock::time_point begin_;
  Clock::time_point last_start_{};
  int64_t frames_ = 0;
  double interval_sum_ms_ = 0.0;
  double interval_max_ms_ = 0.0;
  double work_sum_ms_ = 0.0;
  double work_max_ms_ = 0.0;
};

}  // namespace cva::play_tool
