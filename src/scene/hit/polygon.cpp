#include "scene/hit/polygon.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace cva {
namespace {

constexpr float kTolerance = 0.0001f;

struct Box {
  float min_x, min_y, max_x, max_y;
};

Box BoundsOf(std::span<const Vec2> polygon) {
  Box box{polygon[0].x, polygon[0].y, polygon[0].x, polygon[0].y};
  for (const Vec2& p : polygon) {
    box.min_x = std::min(box.min_x, p.x);
    box.min_y = std::min(box.min_y, p.y);
    box.max_x = std::max(box.max_x, p.x);
    box.max_y = std::max(box.max_y, p.y);
  }
  return box;
}

// From the squares in double, where they are exact: one rounding for the sum and one for the
// square root, so every build gives the same bits (the C runtimes' hypotf need not agree in the
// last bit).
float Length(Vec2 from, Vec2 to) {
  const double dx = to.x - from.x;
  const double dy = to.y - from.y;
  if (std::isinf(dx) || std::isinf(dy)) return std::numeric_limits<float>::infinity();
  return static_cast<float>(std::sqrt(dx * dx + dy * dy));
}

// Calls `edge(from, to)` for the closing edge first, then for each point to the next; stops
// and returns true as soon as `edge` does.
template <class F>
bool AnyEdge(std::span<const Vec2> polygon, F&& edge) {
  const size_t n = polygon.size();
  if (edge(polygon[n - 1], polygon[0])) return true;
  for (size_t i = 0; i + 1 < n; ++i)
    if (edge(polygon[i], polygon[i + 1])) return true;
  return false;
}

bool SideIsNegative(Vec2 from, Vec2 to, Vec2 p) {
  return (p.y - from.y) * (to.x - from.x) - (to.y - from.y) * (p.x - from.x) < 0.0f;
}

}  // namespace

bool SegmentsIntersect(Vec2 p0, Vec2 p1, Vec2 q0, Vec2 q1) {
  if (Length(p0, p1) < kTolerance || Length(q0, q1) < kTolerance) return false;
  const Vec2 dp{p1.x - p0.x, p1.y - p0.y};
  const Vec2 dq{q1.x - q0.x, q1.y - q0.y};
  const float den = dq.y * dp.x - dq.x * dp.y;
  if (!(std::fabs(den) >= kTolerance)) return false;  // parallel, or not a number
  const Vec2 e{p0.x - q0.x, p0.y - q0.y};
  const float s = (e.y * dq.x - e.x * dq.y) / den;
  const float t = (e.y * dp.x - e.x * dp.y) / den;
  return s >= 0.0f && s <= 1.0f && t >= 0.0f && t <= 1.0f;
}

bool ConvexPolygonContains(std::span<const Vec2> polygon, Vec2 point) {
  const size_t n = polygon.size();
  if (n < 3) return false;
  const bool side = SideIsNegative(polygon[n - 1], polygon[0], point);
  for (size_t i = 0; i + 1 < n; ++i)
    if (SideIsNegative(polygon[i], polygon[i + 1], point) != side) return false;
  return true;
}

bool PolygonsOverlap(std::span<const Vec2> a, std::span<const Vec2> b) {
  if (a.empty() || b.empty()) return false;
  const Box ba = BoundsOf(a), bb = BoundsOf(b);
  if (bb.max_x < ba.min_x || bb.min_x > ba.max_x || bb.max_y < ba.min_y || bb.min_y > ba.max_y)
    return false;
  const bool edges_cross = AnyEdge(a, [&](Vec2 a0, Vec2 a1) {
    return AnyEdge(b, [&](Vec2 b0, Vec2 b1) { return SegmentsIntersect(a0, a1, b0, b1); });
  });
  if (edges_cross) return true;
  for (const Vec2& p : b)
    if (ConvexPolygonContains(a, p)) return true;
  for (const Vec2& p : a)
    if (ConvexPolygonContains(b, p)) return true;
  return false;
}

}  // namespace cva
