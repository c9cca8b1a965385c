#include "scene/objects/warp_image_instance.h"

#include <algorithm>

#include "document/document.h"
#include "document/resource_provider.h"
#include "scene/hermite_basis.h"
#include "scene/objects/warp_image_object.h"
#include "scene/property_record.h"
#include "scene/property_value.h"
#include "scene/scene_node.h"

namespace cva {
namespace {

constexpr float kTangentScale = 3.0f;

Vec2 Hermite(Vec2 p0, Vec2 m0, Vec2 p1, Vec2 m1, float t) {
  const HermiteBasis h = HermiteBasis::At(t);
  const float a = h.h10 * kTangentScale;
  const float b = h.h11 * kTangentScale;
  return {h.h00 * p0.x + a * m0.x + h.h01 * p1.x + b * m1.x,
          h.h00 * p0.y + a * m0.y + h.h01 * p1.y + b * m1.y};
}

Vec2 Blend(Vec2 a, Vec2 b, float t) {
  return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

}  // namespace

std::vector<Vec2> WarpGridVertices(const CornerValue& top_left, const CornerValue& top_right,
                                   const CornerValue& bottom_right, const CornerValue& bottom_left,
                                   int32_t columns, int32_t rows) {
  std::vector<Vec2> out;
  if (columns <= 0 || rows <= 0) return out;
  out.reserve(static_cast<size_t>(columns + 1) * static_cast<size_t>(rows + 1));
  for (int32_t j = 0; j <= rows; ++j) {
    const float s = static_cast<float>(j) / static_cast<float>(rows);
    const Vec2 left = Hermite(top_left.position, top_left.column_tangent, bottom_left.position,
                              bottom_left.column_tangent, s);
    const Vec2 right = Hermite(top_right.position, top_right.column_tangent, bottom_right.position,
                               bottom_right.column_tangent, s);
    const Vec2 start_tangent = Blend(top_left.row_tangent, bottom_left.row_tangent, s);
    const Vec2 end_tangent = Blend(top_right.row_tangent, bottom_right.row_tangent, s);
    for (int32_t i = 0; i <= columns; ++i) {
      const float u = static_cast<float>(i) / static_cast<float>(columns);
      out.push_back(Hermite(left, start_tangent, right, end_tangent, u));
    }
  }
  return out;
}

WarpImageInstance::WarpImageInstance(WarpImageObject& object, SceneNode& node)
    : object_(object), node_(node), texture_(object.document()->provider().CreateTransform()) {
  for (int index :
       {kImageSwapProperty, kHitCodesProperty, kTexOffsetProperty, kCornerTopLeftProperty,
        kCornerTopRightProperty, kCornerBottomRightProperty, kCornerBottomLeftProperty})
    node_.display().AddProperty(index);
}

WarpImageInstance::~WarpImageInstance() = default;

SceneObject& WarpImageInstance::Definition() const {
  return object_;
}

std::vector<Vec2> WarpImageInstance::Vertices() const {
  const DisplayNode& display = node_.display();
  const auto* tl = FieldsOf<kCornerTopLeftProperty>(display.holder(kCornerTopLeftProperty));
  const auto* tr = FieldsOf<kCornerTopRightProperty>(display.holder(kCornerTopRightProperty));
  const auto* br = FieldsOf<kCornerBottomRightProperty>(display.holder(kCornerBottomRightProperty));
  const auto* bl = FieldsOf<kCornerBottomLeftProperty>(display.holder(kCornerBottomLeftProperty));
  if (!tl || !tr || !br || !bl) return {};
  // The object's counts are already limited, so the grid fits the mesh it made.
  return WarpGridVertices(*tl, *tr, *br, *bl, object_.columns(), object_.rows());
}

Vec2 WarpImageInstance::Size() const {
  const DisplayNode& display = node_.display();
  const CornerValue* corners[] = {
      FieldsOf<kCornerTopLeftProperty>(display.holder(kCornerTopLeftProperty)),
      FieldsOf<kCornerTopRightProperty>(display.holder(kCornerTopRightProperty)),
      FieldsOf<kCornerBottomRightProperty>(display.holder(kCornerBottomRightProperty)),
      FieldsOf<kCornerBottomLeftProperty>(display.holder(kCornerBottomLeftProperty))};
  Vec2 size;
  for (const CornerValue* corner : corners) {
    if (!corner) continue;
    size.x = std::max(size.x, corner->position.x);
    size.y = std::max(size.y, corner->position.y);
  }
  return size;
}

void WarpImageInstance::Update(float) {
  object_.ResolveImage();
  Vec2 offset;
  if (const auto* tex = FieldsOf<kTexOffsetProperty>(node_.display().holder(kTexOffsetProperty)))
    offset = tex->offset;
  texture_->SetTexOffset(offset);
}

void WarpImageInstance::Draw() {
  MeshPrimitive* mesh = object_.mesh();
  if (!mesh) return;
  const std::vector<Vec2> vertices = Vertices();
  mesh->LockVertices();
  for (size_t k = 0; k < vertices.size(); ++k)
    mesh->SetPosition(static_cast<int32_t>(k), vertices[k]);
  mesh->UnlockVertices();
  const DisplayNode& display = node_.display();
  mesh->Draw(display.world(), display.colour.Modulated(object_.record().colour), *texture_);
}

}  // namespace cva
