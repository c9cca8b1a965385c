#include "scene/controller/controller_pass.h"

#include <memory>
#include <vector>

#include "scene/controller/node_controller.h"
#include "scene/embedded_view.h"
#include "scene/instance.h"
#include "scene/objects/scene_object.h"
#include "scene/scene.h"
#include "scene/scene_node.h"

namespace cva {
namespace {

// The scene an embedded scene node shows, when it has a current label; else null.
Scene* RunningEmbeddedScene(const SceneNode& node) {
  Scene* scene = ShownEmbeddedScene(node);
  return scene && scene->current_label() != -1 ? scene : nullptr;
}

void RunPass(Scene& scene, const ControllerInput& input, int depth) {
  SceneNode* root = scene.root();
  if (!root) return;
  // Pre-order without recursion; children are pushed in reverse so they run in order.
  std::vector<SceneNode*> stack{root};
  while (!stack.empty()) {
    SceneNode* node = stack.back();
    stack.pop_back();
    if (NodeController* controller = node->controller())
      controller->Evaluate(scene.document(), input);
    if (Scene* embedded = RunningEmbeddedScene(*node); embedded && depth < kMaxEmbeddingDepth)
      RunPass(*embedded, input, depth + 1);
    const auto& children = node->children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) stack.push_back(it->get());
  }
}

}  // namespace

void RunControllerPass(Scene& scene, const ControllerInput& input) {
  RunPass(scene, input, 0);
}

}  // namespace cva
