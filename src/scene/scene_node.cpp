#include "scene/scene_node.h"

#include "scene/controller/node_controller.h"

namespace cva {

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
