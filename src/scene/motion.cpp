#include "scene/motion.h"

#include "scene/keyframe_table.h"

namespace cva {

std::unique_ptr<Motion> Motion::FromRecord(const MotionRecord& record, KeyframeTable* table) {
  std::unique_ptr<Motion> motion(new Motion());
  motion->property_ = record.property;
  motion->keyframes_.reserve(record.keyframes.size());  // records already read: a real size
  for (const KeyframeRecord& key_record : record.keyframes) {
    Keyframe key = Keyframe::FromRecord(key_record);
    key.value_applies = key.value && key.value->Index() == motion->property_;
    motion->keyframes_.push_back(std::move(key));
  }
  if (table) {
    for (size_t i = 0; i < record.keyframes.size(); ++i) {
      if (record.keyframes[i].has_label())
        table->Enter(record.keyframes[i].label_index, motion->keyframes_[i]);
    }
  }
  return motion;
}

}  // namespace cva
