#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "scene/motion.h"
#include "scene/node_record.h"

namespace cva {

class KeyframeTable;

// The motions a node plays from one label on, ordered by their key byte.
using MotionSet = std::map<uint8_t, std::unique_ptr<Motion>>;

// A node's motion sets by label id.
class LabelTable {
 public:
  // Builds the motions of every label; keyframes with a label index go into `keyframes` (when
  // given). A later label or motion key already present replaces the earlier one.
  static LabelTable FromRecords(const CountedList<LabelRecord>& labels, KeyframeTable* keyframes);

  // The motion set of `label`, or null when the node plays nothing from it.
  const MotionSet* Find(int32_t label) const;
  size_t size() const { return sets_.size(); }
  bool empty() const { return sets_.empty(); }
  const std::map<int16_t, MotionSet>& sets() const { return sets_; }

 private:
  std::map<int16_t, MotionSet> sets_;
};

}  // namespace cva
