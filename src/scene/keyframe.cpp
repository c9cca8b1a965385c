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
  key.ease_is_line = IsStraightLine(key.ease);
  return key;
}

bool Keyframe::IsStraightLine(const std::vector<EasePoint>& points) {
  // From the first point at (0, 0) a linear curve to (1, 1) gives 0 + u x (1 - 0) with
  // u = (x - 0) / (1 - 0): exactly x for every x in [0, 1).
  return points.size() == 2 && points[0].x == 0.0f && points[0].y == 0.0f && points[1].x == 1.0f &&
         points[1].y == 1.0f && points[1].curve &&
         points[1].curve->Kind() == EaseCurveKind::kLinear;
}

}  // namespace cva
