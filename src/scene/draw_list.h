#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace cva {

class Instance;
class SceneNode;

// The order in which a scene's nodes draw: ascending effective depth, tree order within one
// depth. Kept twice: as a vector (what drawing walks, so that it can ask for the data of nodes
// ahead of their turn) and as the nodes' own draw links (what hit testing and tools follow).
// Rebuilt once per frame; the vector keeps its storage from frame to frame.
class DrawList {
 public:
  // Forgets the list (the nodes' links are rewritten by the next build).
  void Clear();
  // Rebuilds the list from the tree under `root` in pre-order: a hidden node is skipped
  // with its subtree; a node whose effective visibility is "not drawn" is left out, but its
  // children are still visited.
  void Rebuild(SceneNode* root);

  // Building by hand, for walks that visit the tree for other reasons too: Clear, then Add
  // every node to draw in pre-order, then Finish.
  void Add(SceneNode& node);
  // Orders the nodes added by depth (keeping tree order within a depth) and links them.
  void Finish();

  // One node to draw with what drawing it needs of the node, taken when the node was added
  // (right after its update, while its data is at hand).
  struct Entry {
    SceneNode* node;
    Instance* instance;  // null: the node draws nothing itself
    int32_t depth;
    uint8_t blend_code;  // the blend and mask codes of its draw codes (0 without them)
    uint8_t mask_code;
  };

  SceneNode* first() const { return entries_.empty() ? nullptr : entries_.front().node; }
  SceneNode* last() const { return entries_.empty() ? nullptr : entries_.back().node; }
  size_t size() const { return entries_.size(); }
  // The node drawn `index`-th (0 first), for index < size().
  SceneNode* at(size_t index) const { return entries_[index].node; }
  const Entry& entry(size_t index) const { return entries_[index]; }

 private:
  void Collect(SceneNode& node);

  std::vector<Entry> entries_;
  // The nodes came in ascending depth so far (and are linked in that order).
  bool in_order_ = true;
};

}  // namespace cva
