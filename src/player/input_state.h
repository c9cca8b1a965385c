#pragma once

#include <cstdint>

namespace cva {

// The pointer, button and key state fed by the window procedure. The frame reads it through a
// snapshot taken once per frame, so input arriving between frames is seen whole.
class InputState {
 public:
  // Button bits.
  static constexpr int32_t kLeftButton = 1;
  static constexpr int32_t kRightButton = 2;
  static constexpr int32_t kKey = 4;

  // Window messages the input state consumes (their numbers are those of the window system).
  static constexpr uint32_t kKeyDown = 0x0100;
  static constexpr uint32_t kKeyUp = 0x0101;
  static constexpr uint32_t kMouseMove = 0x0200;
  static constexpr uint32_t kLeftButtonDown = 0x0201;
  static constexpr uint32_t kLeftButtonUp = 0x0202;
  static constexpr uint32_t kRightButtonDown = 0x0204;
  static constexpr uint32_t kRightButtonUp = 0x0205;

  struct Values {
    int32_t buttons = 0;
    float x = 0.0f;
    float y = 0.0f;
    uint8_t moved = 0;
  };

  // Offers one window message; returns whether it was consumed. A pointer move takes x from
  // the low and y from the high 16 bits of `lparam`, both unsigned.
  bool HandleMessage(uint32_t message, uint32_t lparam);

  void SetButton(int32_t bit, bool down);
  void MoveTo(float x, float y);
  // Copies the current values into the snapshot and clears the current moved byte.
  void TakeSnapshot();

  const Values& current() const { return current_; }
  const Values& snapshot() const { return snapshot_; }

 private:
  Values current_;
  Values snapshot_;
};

}  // namespace cva
