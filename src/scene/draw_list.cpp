#include "scene/draw_list.h"

#include <memory>

#include "scene/display_node.h"
#include "scene/scene_node.h"

namespace cva {

void DrawList::Clear() {
  buckets_.clear();
  last_bucket_ = nullptr;
  first_ = nullptr;
  last_ = nullptr;
}

void DrawList::Rebuild(SceneNode* root) {
  Clear();
  if (root) Collect(*root);
  // Concatenate the buckets in ascending depth.
  for (auto& [depth, bucket] : buckets_) {
    bucket.first->draw_prev = last_;
    if (last_) {
      last_->draw_next = bucket.first;
    } else {
      first_ = bucket.first;
    }
    last_ = bucket.last;
  }
  buckets_.clear();
  last_bucket_ = nullptr;
}

// Scene trees are at most kMaxSceneTreeDepth deep, so the recursion is bounded.
void DrawList::Collect(SceneNode& node) {
  if (node.hidden) return;
  if (node.display().visibility != DisplayNode::kNotDrawn) {
    // Neighbours mostly share a depth: reuse the bucket found last (map entries stay put).
    const int32_t depth = node.display().depth;
    if (!last_bucket_ || depth != last_depth_) {
      last_bucket_ = &buckets_[depth];
      last_depth_ = depth;
    }
    Bucket& bucket = *last_bucket_;
    node.draw_prev = bucket.last;
    node.draw_next = nullptr;
    if (bucket.last) {
      bucket.last->draw_next = &node;
    } else {
      bucket.first = &node;
    }
    bucket.last = &node;
  }
  const std::vector<std::unique_ptr<SceneNode>>& children = node.children();
  for (size_t i = 0; i < children.size(); ++i) {
    // Siblings lie apart in memory: ask for a later one's fields ahead of its turn.
    if (i + 2 < children.size()) children[i + 2]->PrefetchFields();
    Collect(*children[i]);
  }
}

}  // namespace cva
