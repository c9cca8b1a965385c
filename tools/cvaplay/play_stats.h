#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace cva::play_tool {

// Frame times of a run and the process's CPU time, for --stats: the interval between frame
// starts (the pacing), the render (the player's step drawn by the software renderer) and the
// present (the picture's upload and the present, which may wait for the display).
class PlayStats {
 public:
  using Clock = std::chrono::steady_clock;

  PlayStats();
  void Frame(Clock::time_point start, Clock::time_point rendered, Clock::time_point end);
  // "N frames; interval, render and present mean/max; CPU user+system over the wall time
  // (share)".
  std::string Report() const;

 private:
  Clock::time_point begin_;
  Clock::time_point last_start_{};
  int64_t frames_ = 0;
  double interval_sum_ms_ = 0.0;
  double interval_max_ms_ = 0.0;
  double render_sum_ms_ = 0.0;
  double render_max_ms_ = 0.0;
  double present_sum_ms_ = 0.0;
  double present_max_ms_ = 0.0;
};

}  // namespace cva::play_tool
