#pragma once

#include <cstdint>
#include <map>

namespace cva {

class SceneNode;

// The order in which a scene's nodes draw: ascending effective depth, tree order within one
// depth. Built once per frame through the nodes' own draw links (no allocation per node
// beyond one bucket per distinct depth).
class DrawList {
 public:
  // Forgets the list (the nodes' links are rewritten by the next build).
  void Clear();
  // Rebuilds the list from the tree under `root` in pre-order: a hidden node is skipped
  // with its subtree; a node whose effective visibility is "not drawn" is left out, but its
  // children are still visited.
  void Rebuild(SceneNode* root);

  SceneNode* first() const { return first_; }
  SceneNode* last() const { return last_; }

 private:
  struct Bucket {
    SceneNode* first = nullptr;
    SceneNode* last = nullptr;
  };

  void Collect(SceneNode& node);

  std::map<int32_t, Bucket> buckets_;
  // The bucket of the last node collected, and its depth (null: none yet).
  Bucket* last_bucket_ = nullptr;
  int32_t last_depth_ = 0;
  SceneNode* first_ = nullptr;
  SceneNode* last_ = nullptr;
};

}  // namespace cva
