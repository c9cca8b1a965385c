#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "scene/keyframe.h"
#include "stream/record_fields.h"

namespace cva {

class KeyframeTable;

// A motion as stored: the property whose track plays it, then its keyframes.
struct MotionRecord {
  uint8_t property = 0;
  CountedList<KeyframeRecord> keyframes;

  template <class V>
  void Visit(V& v) {
    v.Byte("property", property);
    v.List("keyframes", keyframes);
  }
};

// The keyframes one property track plays from a label on. Owns its keyframes.
class Motion {
 public:
  // Builds the motion's keyframes and enters those with a label index into `table` (when
  // given). Keyframes whose property differs from the motion's are kept for their timing but
  // marked so that their value is never applied.
  static std::unique_ptr<Motion> FromRecord(const MotionRecord& record, KeyframeTable* table);

  Motion(const Motion&) = delete;
  Motion& operator=(const Motion&) = delete;

  int32_t property() const { return property_; }
  const std::vector<Keyframe>& keyframes() const { return keyframes_; }
  std::vector<Keyframe>& keyframes() { return keyframes_; }
  size_t size() const { return keyframes_.size(); }

 private:
  Motion() = default;

  int32_t property_ = 0;
  std::vector<Keyframe> keyframes_;  // not resized after building: the table points into it
};

}  // namespace cva
