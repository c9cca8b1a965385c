#include "frame_pacer.h"

#include <algorithm>

namespace cva::play_tool {

FramePacer::FramePacer(bool vsync_requested, int refresh_hz, uint32_t frame_ms)
    : state_(vsync_requested ? State::kProbing : State::kTimed),
      display_period_(std::chrono::microseconds(1000000 / std::max(refresh_hz, 1))),
      frame_period_(std::chrono::milliseconds(std::max<uint32_t>(frame_ms, 1))) {}

int FramePacer::WaitMs(Clock::time_point now) const {
  if (state_ != State::kTimed || !started_ || now >= next_) return 0;
  // Rounded up, so that the wait does not end just before the frame is due and spin.
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(next_ - now);
  return static_cast<int>(left.count());
}

void FramePacer::FrameStarted(Clock::time_point now) {
  if (state_ == State::kProbing && started_) {
    intervals_.push_back(now - last_start_);
    if (intervals_.size() == kProbeFrames) {
      std::vector<Clock::duration> measured(intervals_.begin() + kProbeSkipped, intervals_.end());
      std::nth_element(measured.begin(), measured.begin() + measured.size() / 2, measured.end());
      // Presents that wait take about a display period each; half of one is the divide.
      state_ = measured[measured.size() / 2] * 2 >= display_period_ ? State::kVsync : State::kTimed;
      intervals_.clear();
    }
  }
  // Frames are due one period after the last was due; after a stall (more than a period
  // late) the schedule starts again from now instead of running the missed frames at once.
  next_ = started_ && now - next_ < frame_period_ ? next_ + frame_period_ : now + frame_period_;
  started_ = true;
  last_start_ = now;
}

}  // namespace cva::play_tool
