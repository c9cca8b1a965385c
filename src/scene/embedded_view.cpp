#include "scene/embedded_view.h"

#include "scene/instance.h"
#include "scene/objects/scene_object.h"
#include "scene/scene_node.h"

namespace cva {

const EmbeddedView* EmbeddedViewOf(const SceneNode& node) {
  const Instance* instance = node.instance();
  if (!instance || instance->Definition().TypeCode() != ObjectType::kEmbeddedScene) return nullptr;
  return dynamic_cast<const EmbeddedView*>(instance);
}

Scene* ShownEmbeddedScene(const SceneNode& node) {
  const EmbeddedView* view = EmbeddedViewOf(node);
  return view && view->EmbeddedDocument() ? view->EmbeddedScene() : nullptr;
}

}  // namespace cva
