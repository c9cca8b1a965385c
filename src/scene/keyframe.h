#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "scene/byte_counted_list.h"
#include "scene/ease_point.h"
#include "scene/property_record.h"
#include "scene/property_value.h"
#include "stream/encoded_text.h"
#include "stream/record_fields.h"

namespace cva {

// One keyframe of a motion as stored. The value's layout depends on the property index, which
// comes before it; an index above 25 makes the record unreadable.
struct KeyframeRecord {
  StoredText label;
  int16_t label_index = -1;  // stored only when the label is not empty
  int16_t duration = 0;
  Flag instant;
  uint8_t jump = 0;
  uint8_t inheritance = 0;
  uint8_t property = 0;
  int16_t loop_count = 0;
  int32_t loop_back_frames = 0;
  PropertyValueRecord value;
  std::vector<EasePointRecord> ease;

  bool has_label() const { return label.length > 0; }

  template <class V>
  void Visit(V& v) {
    v.Text("label", label);
    if (has_label()) v.Short("label_index", label_index);
    v.Short("duration", duration);
    v.Flag("instant", instant);
    v.Byte("jump", jump);
    v.Byte("inheritance", inheritance);
    v.Byte("property", property);
    if (property >= kPropertyCount)
      return v.Fail("unknown property index " + std::to_string(property));
    v.Short("loop_count", loop_count);
    v.Int("loop_back_frames", loop_back_frames);
    if constexpr (V::kReading) {
      if (!v.ok()) return;
      ResetPropertyValueRecord(value, property);
    } else if (value.index() != property) {
      return v.Fail("a keyframe value does not belong to property " + std::to_string(property));
    }
    std::visit([&](auto& fields) { v.Record("value", fields); }, value);
    VisitByteCountedList(v, "ease_count", "ease", ease);
  }
};

// One keyframe of a motion, ready to play.
struct Keyframe {
  // Values of `jump`.
  static constexpr int32_t kLoopStart = 1;
  static constexpr int32_t kLoopEnd = 2;
  static constexpr int32_t kStop = 3;
  // Values of `inheritance`.
  static constexpr int32_t kInheritOn = 1;
  static constexpr int32_t kInheritOff = 2;

  EncodedText label;
  int32_t duration = 0;  // frames from the previous keyframe
  // Fires only its loop, stop and inheritance actions when its time comes; does not end a
  // segment.
  bool instant = false;
  int32_t jump = 0;
  int32_t inheritance = 0;
  int32_t property = 0;
  int32_t loop_count = 0;        // for a loop end: -1 forever, else the number of repeats
  int32_t loop_back_frames = 0;  // for a loop end: the length of the segment replayed
  std::unique_ptr<PropertyValue> value;
  std::vector<EasePoint> ease;  // empty: the value switches at the end of the segment
  // The ease is the straight line from (0, 0) to (1, 1): the eased value of every fraction in
  // [0, 1) is the fraction itself, so tracks skip evaluating the points.
  bool ease_is_line = false;
  // False when the keyframe's property differs from its motion's: its value is then never
  // applied to the track's holder (a value of another type), while its timing and its loop,
  // stop and inheritance actions still count.
  bool value_applies = true;

  static Keyframe FromRecord(const KeyframeRecord& record);
  // Whether `points` is the straight line from (0, 0) to (1, 1).
  static bool IsStraightLine(const std::vector<EasePoint>& points);
};

}  // namespace cva
