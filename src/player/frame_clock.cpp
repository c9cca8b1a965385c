#include "player/frame_clock.h"

namespace cva {

void FrameClock::SetFixedStep(int32_t step_ms) {
  if (step_ms > 0) {
    fixed_step_ = true;
    step_ = static_cast<uint32_t>(step_ms);
  } else {
    fixed_step_ = false;
    has_previous_ = false;
  }
}

void FrameClock::Reset(uint32_t now) {
  if (fixed_step_) return;
  previous_ = now;
  has_previous_ = true;
}

float FrameClock::Tick(uint32_t now) {
  if (fixed_step_) return static_cast<float>(step_);
  // Unsigned subtraction: correct across the wrap of the tick count.
  const uint32_t delta = has_previous_ ? now - previous_ : 0;
  previous_ = now;
  has_previous_ = true;
  return static_cast<float>(delta);
}

}  // namespace cva
