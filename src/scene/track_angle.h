#pragma once

#include "render/vec2.h"
#include "scene/node_property_records.h"

namespace cva {

// One full turn and its half, as the angle blend counts them.
inline constexpr float kFullTurn = 6.283184f;
inline constexpr float kHalfTurn = kFullTurn * 0.5f;

// The angle at eased fraction t from `start` to `target`, turning the way the held value's
// direction mode asks (0 the short way, 1 always decreasing, 2 always increasing, others
// straight from start to target) and adding the held value's extra turns.
float BlendAngle(const AngleValue& held, float start, float target, float t);

// The rotation a node shows: the held angle, or, in direction mode 3, the direction of its
// movement from `previous` to `current` (0 when it did not move).
float NodeAngle(const AngleValue& held, Vec2 previous, Vec2 current);

}  // namespace cva
