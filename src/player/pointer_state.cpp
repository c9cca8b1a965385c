#include "player/pointer_state.h"

#include "player/input_state.h"

namespace cva {

void PointerState::Update(InputState& input) {
  previous_position = position;
  previous_buttons = buttons;
  input.TakeSnapshot();
  const InputState::Values& now = input.snapshot();
  position = {now.x, now.y};
  buttons = now.buttons;
  moved = now.moved;
  pressed = buttons & ~previous_buttons;
}

}  // namespace cva
