#pragma once

namespace cva {

// A point or extent in the stage's pixel space: two 32-bit floats, x then y.
struct Vec2 {
  float x = 0.0f;
  float y = 0.0f;
  friend bool operator==(const Vec2&, const Vec2&) = default;
};

}  // namespace cva
