#include "scene/hit/hit_test.h"

#include "scene/embedded_view.h"
#include "scene/hit/node_shape.h"
#include "scene/instance.h"
#include "scene/objects/scene_object.h"
#include "scene/property_record.h"
#include "scene/property_value.h"
#include "scene/scene.h"
#include "scene/scene_node.h"

namespace cva {
namespace {

constexpr uint8_t kPixelExactHits = 2;

bool HitTestScene(Scene& scene, Vec2 point, bool free, int depth);

// Whether the pointer at `point` counts as over the node: inside its extent and, for nodes
// that ask for pixel-exact hits (property 10, first code 2), over an opaque pixel.
bool Hits(const SceneNode& node, Vec2 point) {
  if (!ContainsPoint(node, point)) return false;
  const auto* codes = FieldsOf<kHitCodesProperty>(node.display().holder(kHitCodesProperty));
  if (codes && codes->hit_mode == kPixelExactHits) return PixelHit(node, point);
  return true;
}

bool HitTestNodes(SceneNode* first, SceneNode* last, Vec2 point, bool free, int depth) {
  for (SceneNode* node = last; node; node = node == first ? nullptr : node->draw_prev) {
    node->hit_state = kNotHit;
    if (!node->instance()) continue;
    if (node->instance()->Definition().TypeCode() == ObjectType::kEmbeddedScene) {
      Scene* embedded = ShownEmbeddedScene(*node);
      if (embedded && depth < kMaxEmbeddingDepth) {
        free = HitTestScene(*embedded, point, free, depth + 1);
        continue;
      }
      if (embedded) continue;
    }
    if (Hits(*node, point)) {
      node->hit_state = free ? kHitTopmost : kHitCovered;
      free = false;
    }
  }
  return free;
}

bool HitTestScene(Scene& scene, Vec2 point, bool free, int depth) {
  return HitTestNodes(scene.draw_first(), scene.draw_last(), point, free, depth);
}

}  // namespace

bool HitTest(Scene& scene, Vec2 point, bool free) {
  return HitTestScene(scene, point, free, 0);
}

}  // namespace cva
