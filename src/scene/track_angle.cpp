#include "scene/track_angle.h"

#include <cmath>

#include "render/trig.h"

namespace cva {
namespace {

constexpr uint8_t kShortWay = 0;
constexpr uint8_t kDecreasing = 1;
constexpr uint8_t kIncreasing = 2;
constexpr uint8_t kFacePath = 3;

}  // namespace

float BlendAngle(const AngleValue& held, float start, float target, float t) {
  float a = target;
  float b = start;
  const float extra = kFullTurn * static_cast<float>(held.extra_turns);
  switch (held.direction_mode) {
    case kShortWay: {
      // Bring the target within one turn above the start; when the way up is shorter than a
      // half turn take it, else go down from one turn above the start.
      const float g = b > a ? a + kFullTurn : a;
      if (g - b < kHalfTurn) {
        a = g + extra;
      } else {
        if (a > b) b += kFullTurn;
        b += extra;
      }
      break;
    }
    case kDecreasing:
      if (a > b) b += kFullTurn;
      b += extra;
      break;
    case kIncreasing:
      if (b > a) a += kFullTurn;
      a += extra;
      break;
    default:
      break;
  }
  return b + (a - b) * t;
}

float NodeAngle(const AngleValue& held, Vec2 previous, Vec2 current) {
  if (held.direction_mode != kFacePath) return held.angle;
  return Atan2(current.y - previous.y, current.x - previous.x);
}

}  // namespace cva
