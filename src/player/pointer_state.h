#pragma once

#include <cstdint>

#include "render/vec2.h"
#include "scene/controller/controller_input.h"

namespace cva {

class InputState;

// The per-frame view of the pointer that hit testing and node controllers work with.
class PointerState {
 public:
  // Takes the input state's snapshot: the current position and buttons become the previous
  // ones, the snapshot's become current, and the buttons that went down since the last update
  // become the newly pressed ones.
  void Update(InputState& input);
  // What node controllers read of it.
  ControllerInput ForControllers() const { return {buttons, pressed, moved != 0}; }

  Vec2 previous_position;
  Vec2 position;
  int32_t pressed = 0;
  int32_t buttons = 0;
  int32_t previous_buttons = 0;
  uint8_t moved = 0;
};

}  // namespace cva
