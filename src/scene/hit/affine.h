#pragma once

#include <optional>

#include "render/vec2.h"

namespace cva {

class Transform;

// A two-dimensional affine map in the row-vector convention: a point (x, y) goes to
// (x * a + y * c + e, x * b + y * d + f). The hit tests work on these: every transform of the
// scene is a combination of scales, rotations about z and translations, so its 2D part is all
// that maps stage points.
struct Affine2 {
  double a = 1.0, b = 0.0;
  double c = 0.0, d = 1.0;
  double e = 0.0, f = 0.0;

  // The map `transform` applies to points of the plane, read back through TransformPoint.
  static Affine2 Of(const Transform& transform);
  static Affine2 Scale(double sx, double sy) { return {sx, 0.0, 0.0, sy, 0.0, 0.0}; }
  static Affine2 Translation(double x, double y) { return {1.0, 0.0, 0.0, 1.0, x, y}; }

  Vec2 Apply(Vec2 point) const;
  // This map first, then `next` (the product this x next).
  Affine2 Then(const Affine2& next) const;
  // The inverse map; none when this map is singular or not finite (it then collapses the
  // plane, and no point can be mapped back).
  std::optional<Affine2> Inverse() const;
};

}  // namespace cva
