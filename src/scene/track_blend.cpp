#include "scene/track_blend.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <utility>

#include "scene/hermite_basis.h"
#include "scene/track_angle.h"
#include "scene/track_numeric.h"

namespace cva {
namespace {

constexpr uint8_t kStraightPath = 0;
constexpr uint8_t kHermitePath = 1;
// Hermite paths scale both tangents by this factor.
constexpr float kPathTangentScale = 3.0f;

// start + trunc((target - start) x t), computed without overflow and clamped to T.
template <class T>
T BlendInteger(T start, T target, float t) {
  const int64_t difference = static_cast<int64_t>(target) - static_cast<int64_t>(start);
  const float step = static_cast<float>(difference) * t;
  // The sum is formed in double so that an enormous or infinite step saturates; NaN is no step.
  const double truncated = std::isnan(step) ? 0.0 : std::trunc(static_cast<double>(step));
  return TruncateSaturated<T>(static_cast<double>(start) + truncated);
}

uint8_t BlendByte(uint8_t start, uint8_t target, float t) {
  if (t >= 0.0f && t <= 1.0f) {
    // Inside the segment's span the step lies between 0 and target - start, so the sum is a
    // byte and a plain conversion truncates the same way as the saturating one below.
    return static_cast<uint8_t>(start +
                                static_cast<int32_t>(static_cast<float>(target - start) * t));
  }
  // An ease that overshoots: steps beyond the span, clamped to a byte.
  const int32_t step = TruncateSaturated<int32_t>(static_cast<float>(target - start) * t);
  return static_cast<uint8_t>(std::clamp<int64_t>(int64_t{start} + step, 0, 255));
}

float BlendFloat(float start, float target, float t) {
  return start + (target - start) * t;
}

Vec2 BlendVec2(Vec2 start, Vec2 target, float t) {
  return {BlendFloat(start.x, target.x, t), BlendFloat(start.y, target.y, t)};
}

Vec2 BlendPath(const PositionValue& held, const PositionValue& start, const PositionValue& target,
               float t) {
  switch (held.path_mode) {
    case kStraightPath:
      return BlendVec2(start.position, target.position, t);
    case kHermitePath: {
      const Vec2 start_tangent = start.path_mode == kHermitePath ? start.Tangent() : Vec2{};
      const Vec2 end_tangent = target.Tangent();
      const HermiteBasis h = HermiteBasis::At(t);
      const float m0 = kPathTangentScale * h.h10;
      const float m1 = kPathTangentScale * h.h11;
      return {h.h00 * start.position.x + m0 * start_tangent.x + h.h01 * target.position.x +
                  m1 * end_tangent.x,
              h.h00 * start.position.y + m0 * start_tangent.y + h.h01 * target.position.y +
                  m1 * end_tangent.y};
    }
    default:
      return target.position;
  }
}

// Blends the fields of property I; properties without a blend rule are left alone.
template <size_t I>
void BlendFields(PropertyFields<I>& value, const PropertyFields<I>& target,
                 const PropertyFields<I>& start, float t) {
  if constexpr (I == 0) {
    value.depth = BlendInteger(start.depth, target.depth, t);
  } else if constexpr (I == 2) {
    value.position = BlendPath(value, start, target, t);
  } else if constexpr (I == 3) {
    value.angle = BlendAngle(value, start.angle, target.angle, t);
  } else if constexpr (I == 4) {
    value.scale = BlendVec2(start.scale, target.scale, t);
  } else if constexpr (I == 5) {
    value.pivot = BlendVec2(start.pivot, target.pivot, t);
  } else if constexpr (I == 6) {
    value.threshold = BlendInteger(start.threshold, target.threshold, t);
  } else if constexpr (I == 7) {
    value.colour = {BlendByte(start.colour.red, target.colour.red, t),
                    BlendByte(start.colour.green, target.colour.green, t),
                    BlendByte(start.colour.blue, target.colour.blue, t),
                    BlendByte(start.colour.alpha, target.colour.alpha, t)};
  } else if constexpr (I == 11) {
    value.offset = BlendVec2(start.offset, target.offset, t);
  } else if constexpr (I == 12) {
    value.count_y = BlendInteger(start.count_y, target.count_y, t);
    value.count_x = BlendInteger(start.count_x, target.count_x, t);
  } else if constexpr (I == 13 || I == 18 || I == 19) {
    value.value = BlendInteger(start.value, target.value, t);
  } else if constexpr (I >= 21 && I <= 24) {
    value.position = BlendVec2(start.position, target.position, t);
    value.row_tangent = BlendVec2(start.row_tangent, target.row_tangent, t);
    value.column_tangent = BlendVec2(start.column_tangent, target.column_tangent, t);
  }
  // 1, 8, 9, 10, 14 to 17, 20 and 25 hold until their keyframe is applied.
}

template <size_t I>
void BlendAs(PropertyValue& value, const PropertyValue& target, const PropertyValue& start,
             float t) {
  // `value` belongs to property I (the caller looked up its index); the others are checked.
  PropertyFields<I>& fields = static_cast<TypedPropertyValue<I>&>(value).fields();
  const PropertyFields<I>* to = FieldsOf<I>(&target);
  const PropertyFields<I>* from = FieldsOf<I>(&start);
  if (to && from) BlendFields<I>(fields, *to, *from, t);
}

using Blender = void (*)(PropertyValue&, const PropertyValue&, const PropertyValue&, float);

template <size_t... I>
constexpr std::array<Blender, sizeof...(I)> MakeBlenders(std::index_sequence<I...>) {
  return {&BlendAs<I>...};
}

constexpr auto kBlenders = MakeBlenders(std::make_index_sequence<kPropertyCount>());

}  // namespace

void Blend(PropertyValue& value, const PropertyValue& target, const PropertyValue& start, float t) {
  const int index = value.Index();
  if (index < 0 || index >= kPropertyCount) return;
  kBlenders[static_cast<size_t>(index)](value, target, start, t);
}

}  // namespace cva
