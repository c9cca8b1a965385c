#pragma once

#include <cstdint>

namespace cva {

// The player's frame clock. In real-time mode every frame advances by the milliseconds since
// the previous frame, measured on the 32-bit tick count (so its wrap after about 49.7 days
// still gives the right small step); the first frame, and the first after a reset to "no
// previous frame", advance by 0. In fixed-step mode every frame advances by the step.
class FrameClock {
 public:
  // A step above 0 selects fixed-step mode with that step; 0 or less selects real-time mode
  // with no previous frame.
  void SetFixedStep(int32_t step_ms);
  // Real-time mode: the previous frame becomes `now`, so time spent inactive or while the
  // window was moved is not played back. Does nothing in fixed-step mode.
  void Reset(uint32_t now);
  // The milliseconds this frame advances by, with `now` the tick count of the frame.
  float Tick(uint32_t now);

  bool fixed_step() const { return fixed_step_; }
  uint32_t step() const { return step_; }

 private:
  bool fixed_step_ = false;
  uint32_t step_ = 0;
  // Whether `previous_` holds the tick count of a previous frame. Kept apart from the tick
  // value, so that a frame whose tick count happens to be 0xFFFFFFFF is not taken for none.
  bool has_previous_ = false;
  uint32_t previous_ = 0;
};

}  // namespace cva
