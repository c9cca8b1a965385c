#include "player/input_state.h"

namespace cva {

bool InputState::HandleMessage(uint32_t message, uint32_t lparam) {
  switch (message) {
    case kKeyDown:
      SetButton(kKey, true);
      return true;
    case kKeyUp:
      SetButton(kKey, false);
      return true;
    case kMouseMove:
      MoveTo(static_cast<float>(lparam & 0xFFFFu), static_cast<float>(lparam >> 16));
      return true;
    case kLeftButtonDown:
      SetButton(kLeftButton, true);
      return true;
    case kLeftButtonUp:
      SetButton(kLeftButton, false);
      return true;
    case kRightButtonDown:
      SetButton(kRightButton, true);
      return true;
    case kRightButtonUp:
      SetButton(kRightButton, false);
      return true;
    default:
      return false;
  }
}

void InputState::SetButton(int32_t bit, bool down) {
  if (down) {
    current_.buttons |= bit;
  } else {
    current_.buttons &= ~bit;
  }
}

void InputState::MoveTo(float x, float y) {
  current_.x = x;
  current_.y = y;
  current_.moved = 1;
}

void InputState::TakeSnapshot() {
  snapshot_ = current_;
  current_.moved = 0;
}

}  // namespace cva
