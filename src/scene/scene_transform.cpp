#include "scene/scene_transform.h"

#include <array>
#include <cmath>
#include <cstring>

#include "render/primitives.h"
#include "render/trig.h"
#include "scene/display_node.h"
#include "scene/property_value.h"
#include "scene/scene_node.h"

namespace cva {
namespace {

constexpr int kDepth = 0;
constexpr int kDrawCodes = 1;
constexpr int kPosition = 2;
constexpr int kAngle = 3;
constexpr int kScale = 4;
constexpr int kPivot = 5;
constexpr int kColour = 7;
constexpr uint8_t kFaceAlongPath = 3;

// A property without a track inherits.
bool Inherits(const DisplayNode& display, int property) {
  return (display.track_flags().not_inheriting & (uint32_t{1} << property)) == 0;
}

// The node's stored placement values (defaults where a value is missing).
PlacementValues StoredPlacement(const DisplayNode& display) {
  PlacementValues values;
  if (const PositionValue* p = display.fields<kPosition>()) {
    values.position = p->position;
  }
  if (const AngleValue* a = display.fields<kAngle>()) values.angle = a->angle;
  if (const ScaleValue* s = display.fields<kScale>()) values.scale = s->scale;
  if (const PivotValue* v = display.fields<kPivot>()) values.pivot = v->pivot;
  return values;
}

// 0 + v: v, except that -0 becomes +0. Each element of the matrix products the placement stands
// for is a sum that starts from +0, so it is never -0.
inline float Unsigned(float v) {
  return 0.0f + v;
}

// Values no larger than this keep every entry and partial product of the placement finite.
constexpr float kExactBound = 1e18f;

bool AffineIsExact(Vec2 position, float angle, Vec2 scale, Vec2 pivot) {
  // 1 or 0 (0 for NaN), combined without branches.
  const auto small = [](float f) { return static_cast<int>(std::fabs(f) <= kExactBound); };
  return (small(position.x) & small(position.y) & small(scale.x) & small(scale.y) & small(pivot.x) &
          small(pivot.y) & static_cast<int>(std::isfinite(angle))) != 0;
}

// The placement as the full chain of 4x4 products (any values, infinities and NaN included).
Matrix4 FullPlacementMatrix(const PlacementValues& values) {
  Matrix4 out = Matrix4::Translation(-values.pivot.x, -values.pivot.y, 0.0f);
  out = Multiply(out, Matrix4::Scaling(values.scale.x, values.scale.y, 1.0f));
  out = Multiply(out, Matrix4::RotationZ(values.angle));
  out = Multiply(out, Matrix4::Translation(values.pivot.x, values.pivot.y, 0.0f));
  return Multiply(out, Matrix4::Translation(values.position.x, values.position.y, 0.0f));
}

// Four floats as one 16-byte value, so that a row is stored with one instruction.
using Row = float __attribute__((vector_size(16)));

// Stores a matrix row whole, in place. The local matrix is read back right after it is
// written, by the product with the parent's world, a row at a time: a row stored in two halves
// could not be forwarded to that read, which would wait for both halves to reach the cache.
inline void StoreRow(std::array<float, 4>& row, Row value) {
  std::memcpy(row.data(), &value, sizeof(value));
}

// Writes the full chain of products, out of the frame path's way.
[[gnu::noinline]] void WriteFullPlacement(Vec2 position, float angle, Vec2 scale, Vec2 pivot,
                                          Matrix4& out) {
  out = FullPlacementMatrix({position, angle, scale, pivot});
}

// The placement from its values one by one, so that the frame path keeps them in registers
// (a struct in memory read back in other widths than it was written stalls the processor).
inline void WritePlacement(Vec2 position, float angle, Vec2 scale, Vec2 pivot, Matrix4& out) {
  if (!AffineIsExact(position, angle, scale, pivot)) {
    WriteFullPlacement(position, angle, scale, pivot, out);
    return;
  }
  // The sine and cosine of Matrix4::RotationZ.
  const auto [s, c] = SinAndCos(angle);
  // The product translate(-pivot) x scale x rotate x translate(pivot) x translate(position)
  // with every term that is structurally zero left out. With finite entries and products that
  // stay finite, a dropped term is a signed zero added to a sum that is not -0, so each element
  // keeps the bits of the full product; the sums run in the order the full product takes them.
  const float moved_x = -pivot.x * scale.x;
  const float moved_y = -pivot.y * scale.y;
  const float turned_x = Unsigned(moved_x * c + moved_y * -s);
  const float turned_y = Unsigned(moved_x * s + moved_y * c);
  StoreRow(out.m[0], Row{Unsigned(scale.x * c), Unsigned(scale.x * s), 0.0f, 0.0f});
  StoreRow(out.m[1], Row{Unsigned(-(scale.y * s)), Unsigned(scale.y * c), 0.0f, 0.0f});
  StoreRow(out.m[2], Row{0.0f, 0.0f, 1.0f, 0.0f});
  StoreRow(out.m[3],
           Row{(turned_x + pivot.x) + position.x, (turned_y + pivot.y) + position.y, 0.0f, 1.0f});
}

}  // namespace

void BuildPlacement(const PlacementValues& values, Transform& out, Transform& scratch) {
  out.SetTranslation(-values.pivot.x, -values.pivot.y);
  scratch.SetScale(values.scale);
  out.PostMultiply(scratch);
  scratch.SetRotation(values.angle);
  out.PostMultiply(scratch);
  scratch.SetTranslation(values.pivot);
  out.PostMultiply(scratch);
  scratch.SetTranslation(values.position);
  out.PostMultiply(scratch);
}

void WritePlacementMatrix(const PlacementValues& values, Matrix4& out) {
  WritePlacement(values.position, values.angle, values.scale, values.pivot, out);
}

void BuildLocalMatrix(DisplayNode& display, Transform& scratch) {
  const PlacementValues stored = StoredPlacement(display);
  float angle = stored.angle;
  const AngleValue* angle_value = display.fields<kAngle>();
  if (angle_value && angle_value->direction_mode == kFaceAlongPath) {
    angle = Atan2(stored.position.y - display.previous_position.y,
                  stored.position.x - display.previous_position.x);
  }
  if (Matrix4* local = display.local_matrix()) {
    WritePlacement(stored.position, angle, stored.scale, stored.pivot, *local);
  } else {
    BuildPlacement({stored.position, angle, stored.scale, stored.pivot}, display.local(), scratch);
  }
}

void CombineRoot(DisplayNode& display, const Transform& base) {
  display.set_parent_world(&base);
  display.world().CopyFrom(display.local());
  display.world().PostMultiply(base);
}

void CombineWithParent(SceneNode& node, Transform& scratch) {
  DisplayNode& display = node.display();
  const DisplayNode& parent = node.parent()->display();

  const bool position = Inherits(display, kPosition);
  const bool angle = Inherits(display, kAngle);
  const bool scale = Inherits(display, kScale);
  const bool pivot = Inherits(display, kPivot);
  if (position && angle && scale && pivot) {
    display.set_parent_world(&parent.world());
  } else {
    // The parent's placement with the parts this node does not follow made neutral, on top
    // of what the parent itself sits on.
    PlacementValues values = StoredPlacement(parent);
    if (!position) values.position = {};
    if (!angle) values.angle = 0.0f;
    if (!scale) values.scale = {1.0f, 1.0f};
    if (!pivot) values.pivot = {};
    BuildPlacement(values, display.parent_base(), scratch);
    if (parent.parent_world()) display.parent_base().PostMultiply(*parent.parent_world());
    display.set_parent_world(&display.parent_base());
  }
  if (display.world_matrix() && display.parent_world() == &parent.world() &&
      parent.world_matrix()) {
    // All portable matrices: the same product without going through the transforms.
    *display.world_matrix() = Multiply(*display.local_matrix(), *parent.world_matrix());
  } else {
    display.world().CopyFrom(display.local());
    display.world().PostMultiply(*display.parent_world());
  }

  const ColourValue* colour = display.fields<kColour>();
  display.colour = colour ? colour->colour : Colour{};
  if (Inherits(display, kColour)) display.colour = display.colour.Modulated(parent.colour);

  const DepthValue* depth = display.fields<kDepth>();
  display.depth = depth && depth->depth != 0 ? depth->depth : parent.depth;

  const DrawCodesValue* codes = display.fields<kDrawCodes>();
  const int32_t visibility = codes ? codes->visibility : DisplayNode::kParentVisibility;
  display.visibility =
      visibility == DisplayNode::kParentVisibility ? parent.visibility : visibility;
}

}  // namespace cva
