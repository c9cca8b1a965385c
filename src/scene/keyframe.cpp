#include "scene/keyframe.h"

namespace cva {

Keyframe Keyframe::FromRecord(const KeyframeRecord& record) {
  Keyframe key;
  key.label = record.label.Decoded();
  key.duration = record.duration;
  key.instant = record.instant.on();
  key.jump = record.jump;
  key.inheritance = record.inheritance;
  key.property = record.property;
  key.loop_count = record.loop_count;
  key.loop_back_frames = record.loop_back_frames;
  key.value = CreatePropertyValue(record.value);
  key.ease = EasePointsFromRecords(record.ease);
  return key;
}

}  // namespace cva
