#pragma once

#include <cstdint>

#include "player/frame_clock.h"
#include "player/pointer_state.h"

namespace cva {

class PlaybackHost;
class ScenePasses;

// One displayed frame of the player, in order: when a current scene exists, the pointer pass
// at the pointer position of the previous frame, the pointer state update from the host's
// input state and the controller pass; then the host's frame tick by the clock's step; then,
// when a current document exists, its scene's draw.
class PlayerFrame {
 public:
  PlayerFrame(PlaybackHost& host, ScenePasses& passes) : host_(host), passes_(passes) {}

  // Runs one frame; `now` is the tick count in milliseconds.
  void Run(uint32_t now);
  // Runs one frame at the tick count of the system services.
  void Run();
  // Called when the window becomes active again or a move or size ends: in real-time mode the
  // next frame advances only by the time since now.
  void ResetClock();

  FrameClock& clock() { return clock_; }
  PointerState& pointer() { return pointer_; }
  // The step the last Run advanced the host by.
  float last_step() const { return last_step_; }

 private:
  PlaybackHost& host_;
  ScenePasses& passes_;
  FrameClock clock_;
  PointerState pointer_;
  float last_step_ = 0.0f;
};

}  // namespace cva
