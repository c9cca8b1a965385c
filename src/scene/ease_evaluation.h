#pragma once

#include <span>

#include "scene/ease_point.h"

namespace cva {

// The eased fraction at fraction `x` of a segment. Walking the points in order, the first
// point whose x lies above `x` decides: its curve between the previous point and itself, or the
// previous point's y when it has no curve. Past the last point the last y holds, so points
// that stop short of 1.0 hold their last value for the rest of the segment. When even the
// first point lies above `x`, that point's y is the value (there is no previous point to
// interpolate from). No points at all give 0.
float EvaluateEase(std::span<const EasePoint> points, float x);

}  // namespace cva
