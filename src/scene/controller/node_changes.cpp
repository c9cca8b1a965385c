#include "scene/controller/node_changes.h"

#include <memory>
#include <vector>

#include "document/resource_provider.h"
#include "render/primitives.h"
#include "scene/scene_node.h"
#include "scene/scene_transform.h"

namespace cva {

void MarkSubtreeChanged(SceneNode& node) {
  std::vector<SceneNode*> stack{&node};
  while (!stack.empty()) {
    SceneNode* current = stack.back();
    stack.pop_back();
    current->changed = true;
    for (const std::unique_ptr<SceneNode>& child : current->children())
      stack.push_back(child.get());
  }
}

void MarkPlacementChanged(SceneNode& node, ResourceProvider& provider) {
  std::unique_ptr<Transform> scratch = provider.CreateTransform();
  if (scratch) BuildLocalMatrix(node.display(), *scratch);
  MarkSubtreeChanged(node);
}

}  // namespace cva
