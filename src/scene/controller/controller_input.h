#pragma once

#include <cstdint>

namespace cva {

// Button bits of the pointer state: left button, right button, any key.
inline constexpr int32_t kLeftButton = 1;
inline constexpr int32_t kRightButton = 2;
inline constexpr int32_t kAnyKey = 4;

// What node controllers read of the pointer in one frame. The player's frame step fills it
// from its pointer state after updating that state.
struct ControllerInput {
  int32_t buttons = 0;  // held now
  int32_t pressed = 0;  // went down since the previous frame
  bool moved = false;   // the pointer moved in this frame
};

}  // namespace cva
