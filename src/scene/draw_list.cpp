#include "scene/draw_list.h"

#include <algorithm>
#include <memory>

#include "scene/display_node.h"
#include "scene/scene_node.h"

namespace cva {

void DrawList::Clear() {
  entries_.clear();
  in_order_ = true;
}

void DrawList::Rebuild(SceneNode* root) {
  Clear();
  if (root) Collect(*root);
  Finish();
}

void DrawList::Add(SceneNode& node) {
  const int32_t depth = node.display().depth;
  node.draw_next = nullptr;
  if (entries_.empty()) {
    node.draw_prev = nullptr;
  } else {
    // Nodes mostly come in ascending depth, often all at one depth: then the order of
    // arrival is the draw order and the links are made at once, while the previous node is
    // still at hand.
    if (depth < entries_.back().depth) in_order_ = false;
    if (in_order_) {
      node.draw_prev = entries_.back().node;
      entries_.back().node->draw_next = &node;
    }
  }
  const DrawCodesValue* codes = node.display().fields<1>();
  entries_.push_back({&node, node.instance(), depth, codes ? codes->blend : uint8_t{0},
                      codes ? codes->mask : uint8_t{0}});
}

void DrawList::Finish() {
  if (in_order_) return;
  std::stable_sort(entries_.begin(), entries_.end(),
                   [](const Entry& a, const Entry& b) { return a.depth < b.depth; });
  SceneNode* previous = nullptr;
  for (const Entry& entry : entries_) {
    entry.node->draw_prev = previous;
    entry.node->draw_next = nullptr;
    if (previous) previous->draw_next = entry.node;
    previous = entry.node;
  }
  in_order_ = true;
}

// Scene trees are at most kMaxSceneTreeDepth deep, so the recursion is bounded.
void DrawList::Collect(SceneNode& node) {
  if (node.hidden) return;
  if (node.display().visibility != DisplayNode::kNotDrawn) Add(node);
  for (const std::unique_ptr<SceneNode>& child : node.children()) Collect(*child);
}

}  // namespace cva
