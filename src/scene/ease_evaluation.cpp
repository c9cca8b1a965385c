#include "scene/ease_evaluation.h"

#include <cmath>

#include "scene/hermite_basis.h"

namespace cva {

float LinearCurve::ValueAt(float u, float y0, float y1) const {
  return y0 + u * (y1 - y0);
}

float HoldToEndCurve::ValueAt(float u, float y0, float y1) const {
  return u >= 1.0f ? y1 : y0;
}

float HermiteCurve::ValueAt(float u, float y0, float y1) const {
  const HermiteBasis h = HermiteBasis::At(u);
  return h.h00 * y0 + h.h10 * start_tangent_.y + h.h01 * y1 + h.h11 * end_tangent_.y;
}

float SawCurve::ValueAt(float u, float y0, float y1) const {
  const float w = frequency_ * 30.0f * u;
  return (w - std::trunc(w)) * amplitude_ * 1.5f + y0 + u * (y1 - y0);
}

float EvaluateEase(std::span<const EasePoint> points, float x) {
  if (points.empty()) return 0.0f;
  const EasePoint* previous = &points.front();
  for (const EasePoint& point : points) {
    if (x < point.x) {
      // The first point has nothing before it: interpolating against itself would divide
      // zero by zero.
      if (&point == previous) return point.y;
      if (!point.curve) return previous->y;
      // previous->x <= x < point.x here, so the width is positive and u lies in [0, 1).
      const float u = (x - previous->x) / (point.x - previous->x);
      return point.curve->ValueAt(u, previous->y, point.y);
    }
    previous = &point;
  }
  return points.back().y;
}

}  // namespace cva
