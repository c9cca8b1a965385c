#include "scene/scene_node.h"

#include "scene/controller/node_controller.h"

namespace cva {

// Nodes follow each other in the node pool, so their size is the stride of every walk through
// a tree: a multiple of 1 KiB would put the same field of many nodes in the same cache set.
static_assert(sizeof(SceneNode) % 1024 != 0);

SceneNode::SceneNode(int32_t id, ResourceProvider& provider) : id_(id), display_(provider) {}

SceneNode::~SceneNode() {
  instance_.reset();
}

void SceneNode::set_controller(std::unique_ptr<NodeController> controller) {
  controller_ = std::move(controller);
}

SceneNode& SceneNode::AddChild(std::unique_ptr<SceneNode> child) {
  child->parent_ = this;
  children_.push_back(std::move(child));
  return *children_.back();
}

}  // namespace cva
