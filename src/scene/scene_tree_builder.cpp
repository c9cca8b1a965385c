#include "scene/scene_tree_builder.h"

#include "scene/controller/node_controller.h"

#include <utility>
#include <vector>

namespace cva {
namespace {

// Whether the tree under `root` is at most `limit` nodes deep, found without recursion.
bool DepthWithin(const NodeRecord& root, int limit) {
  std::vector<std::pair<const NodeRecord*, int>> stack{{&root, 1}};
  while (!stack.empty()) {
    auto [record, depth] = stack.back();
    stack.pop_back();
    if (depth > limit) return false;
    for (const NodeRecord& child : record->children) stack.push_back({&child, depth + 1});
  }
  return true;
}

// Recurses once per level of a tree already known to be within kMaxSceneTreeDepth.
std::unique_ptr<SceneNode> BuildNode(const NodeRecord& record, const SceneTreeSources& sources,
                                     bool is_root) {
  auto node = std::make_unique<SceneNode>(record.id, sources.provider);
  node->set_name(record.name.Decoded());
  node->inactive = record.inactive.on();
  if (record.has_controller.on())
    node->set_controller(std::make_unique<NodeController>(record.controller, *node));
  if (is_root) node->display().AddProperty(kOnLoadJumpProperty);
  if (sources.create_instance) node->set_instance(sources.create_instance(record.object, *node));
  node->set_labels(LabelTable::FromRecords(record.labels, sources.keyframes));
  for (const NodeRecord& child : record.children) node->AddChild(BuildNode(child, sources, false));
  return node;
}

}  // namespace

std::unique_ptr<SceneNode> BuildSceneTree(const NodeRecord& root, const SceneTreeSources& sources,
                                          std::string& error) {
  // Checked before anything is built, so a refused tree leaves no keyframe behind in the table.
  if (!DepthWithin(root, kMaxSceneTreeDepth)) {
    error = "scene tree nested deeper than " + std::to_string(kMaxSceneTreeDepth) + " levels";
    return nullptr;
  }
  return BuildNode(root, sources, true);
}

}  // namespace cva
