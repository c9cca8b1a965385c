#include "scene/hit/node_shape.h"

#include "scene/instance.h"
#include "scene/property_record.h"
#include "scene/property_value.h"
#include "scene/scene_node.h"

namespace cva {
namespace {}  // namespace

std::optional<Affine2> HitMatrix(const SceneNode& node) {
  const Instance* instance = node.instance();
  if (!instance) return std::nullopt;
  const Affine2 world = Affine2::Of(node.display().world());
  const auto* repeat = FieldsOf<kTexRepeatProperty>(node.display().holder(kTexRepeatProperty));
  if (!repeat) return world;
  const Vec2 extent = instance->Size();
  const double cx = repeat->count_x, cy = repeat->count_y;
  return Affine2::Scale(cx, cy)
      .Then(Affine2::Translation(cx < 0 ? extent.x : 0.0, cy < 0 ? extent.y : 0.0))
      .Then(world);
}

std::optional<Outline> NodeOutline(const SceneNode& node) {
  const std::optional<Affine2> matrix = HitMatrix(node);
  if (!matrix) return std::nullopt;
  const Vec2 w = node.instance()->Size();
  return Outline{matrix->Apply({0.0f, 0.0f}), matrix->Apply({w.x, 0.0f}), matrix->Apply({w.x, w.y}),
                 matrix->Apply({0.0f, w.y})};
}

bool ContainsPoint(const SceneNode& node, Vec2 point) {
  const std::optional<Affine2> matrix = HitMatrix(node);
  if (!matrix) return false;
  const std::optional<Affine2> inverse = matrix->Inverse();
  if (!inverse) return false;
  const Vec2 local = inverse->Apply(point);
  const Vec2 w = node.instance()->Size();
  const auto within = [](float v, float extent) {
    return extent >= 0.0f ? v >= 0.0f && v <= extent : v >= extent && v <= 0.0f;
  };
  return within(local.x, w.x) && within(local.y, w.y);
}

}  // namespace cva
