#include "scene/label_table.h"

namespace cva {

LabelTable LabelTable::FromRecords(const CountedList<LabelRecord>& labels,
                                   KeyframeTable* keyframes) {
  // Only the motions that stay in the table are built, so the keyframe table never points
  // into a motion that was replaced.
  std::map<int16_t, const LabelRecord*> last_label;
  for (const LabelRecord& label : labels) last_label[label.label] = &label;

  LabelTable table;
  for (const LabelRecord& label : labels) {
    if (last_label[label.label] != &label) continue;
    std::map<uint8_t, const MotionEntry*> last_motion;
    for (const MotionEntry& entry : label.motions) last_motion[entry.key] = &entry;
    MotionSet set;
    for (const MotionEntry& entry : label.motions) {
      if (last_motion[entry.key] == &entry)
        set[entry.key] = Motion::FromRecord(entry.motion, keyframes);
    }
    table.sets_[label.label] = std::move(set);
  }
  return table;
}

const MotionSet* LabelTable::Find(int32_t label) const {
  if (label < INT16_MIN || label > INT16_MAX) return nullptr;
  auto it = sets_.find(static_cast<int16_t>(label));
  return it == sets_.end() ? nullptr : &it->second;
}

}  // namespace cva
