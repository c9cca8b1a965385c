#pragma once

#include <cstdint>
#include <map>

namespace cva {

struct Keyframe;

// The document's keyframes that carry a label index, by that index: node controllers read and
// write their values. Filled while the scene tree's motions are built; a later keyframe with
// an index already present takes its place. The keyframes belong to their motions, so the
// table must not be used after the scene tree that holds them is gone.
class KeyframeTable {
 public:
  void Enter(int32_t label_index, Keyframe& keyframe) { entries_[label_index] = &keyframe; }
  // The keyframe entered under `label_index`, or null.
  Keyframe* Find(int32_t label_index) const {
    auto it = entries_.find(label_index);
    return it == entries_.end() ? nullptr : it->second;
  }
  size_t size() const { return entries_.size(); }
  void Clear() { entries_.clear(); }
  const std::map<int32_t, Keyframe*>& entries() const { return entries_; }

 private:
  std::map<int32_t, Keyframe*> entries_;
};

}  // namespace cva
