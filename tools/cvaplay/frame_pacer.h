#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

namespace cva::play_tool {

// When the next frame starts. Where the display paces presents (vertical sync), frames run
// back to back and each present waits for the display. Whether it really waits is measured
// on the first frames: a renderer may grant the request and still return at once (a virtual
// display has no vertical blank). Without it frames start one document frame duration apart,
// and the loop sleeps (in the event wait) until then.
class FramePacer {
 public:
  using Clock = std::chrono::steady_clock;

  FramePacer(bool vsync_requested, int refresh_hz, uint32_t frame_ms);

  // Milliseconds to wait before the next frame may start; 0 when it may start now.
  int WaitMs(Clock::time_point now) const;
  // Records the start of a frame.
  void FrameStarted(Clock::time_point now);

  // Whether presents are known to wait for the display (false while still measuring).
  bool vsync() const { return state_ == State::kVsync; }

 private:
  enum class State { kProbing, kVsync, kTimed };
  // Frames measured before deciding, and how many of the first are left out (a renderer may
  // queue a few presents before it blocks).
  static constexpr size_t kProbeFrames = 12;
  static constexpr size_t kProbeSkipped = 4;

  State state_;
  Clock::duration display_period_;
  Clock::duration frame_period_;
  Clock::time_point next_{};
  bool started_ = false;
  Clock::time_point last_start_{};
  std::vector<Clock::duration> intervals_;
};

}  // namespace cva::play_tool
