#include "scene/hit/affine.h"

#include <cmath>
#include <limits>

#include "render/primitives.h"

namespace cva {
namespace {

// `v` as a float; values beyond the float range become infinities explicitly (a plain
// conversion of such a value is undefined).
float ToFloat(double v) {
  constexpr double kMax = std::numeric_limits<float>::max();
  if (v > kMax) return std::numeric_limits<float>::infinity();
  if (v < -kMax) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(v);
}

}  // namespace

Affine2 Affine2::Of(const Transform& transform) {
  const Vec2 origin = transform.TransformPoint({0.0f, 0.0f});
  const Vec2 x_axis = transform.TransformPoint({1.0f, 0.0f});
  const Vec2 y_axis = transform.TransformPoint({0.0f, 1.0f});
  return {static_cast<double>(x_axis.x) - origin.x,
          static_cast<double>(x_axis.y) - origin.y,
          static_cast<double>(y_axis.x) - origin.x,
          static_cast<double>(y_axis.y) - origin.y,
          origin.x,
          origin.y};
}

Vec2 Affine2::Apply(Vec2 point) const {
  return {ToFloat(point.x * a + point.y * c + e), ToFloat(point.x * b + point.y * d + f)};
}

Affine2 Affine2::Then(const Affine2& n) const {
  return {a * n.a + b * n.c, a * n.b + b * n.d,       c * n.a + d * n.c,
          c * n.b + d * n.d, e * n.a + f * n.c + n.e, e * n.b + f * n.d + n.f};
}

std::optional<Affine2> Affine2::Inverse() const {
  const double det = a * d - b * c;
  if (det == 0.0 || !std::isfinite(det) || !std::isfinite(e) || !std::isfinite(f))
    return std::nullopt;
  const double ia = d / det, ib = -b / det, ic = -c / det, id = a / det;
  return Affine2{ia, ib, ic, id, -(e * ia + f * ic), -(e * ib + f * id)};
}

}  // namespace cva
