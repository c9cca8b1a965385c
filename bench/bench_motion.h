#pragma once

// Motions for benchmark documents: a property moving from one value to another over a segment
// so long that it stays in motion for the whole run.

#include <cstddef>
#include <cstdint>
#include <utility>

#include "scene/ease_point.h"
#include "scene/keyframe.h"
#include "scene/node_record.h"
#include "scene/property_record.h"

namespace cva::bench {

inline constexpr int16_t kLongSegment = 30000;  // frames

template <size_t I>
KeyframeRecord Key(int16_t duration, const PropertyFields<I>& value) {
  KeyframeRecord key;
  key.duration = duration;
  key.property = static_cast<uint8_t>(I);
  key.value = PropertyValueRecord(std::in_place_index<I>, value);
  return key;
}

// From `from` to `to` over kLongSegment frames, eased along a straight line: without ease
// points a value would only switch at the end of the segment, and nothing would move.
template <size_t I>
MotionEntry Move(const PropertyFields<I>& from, const PropertyFields<I>& to) {
  MotionEntry entry;
  entry.key = static_cast<uint8_t>(I);
  entry.motion.property = static_cast<uint8_t>(I);
  entry.motion.keyframes.items.push_back(Key<I>(0, from));
  KeyframeRecord end = Key<I>(kLongSegment, to);
  EasePointRecord origin;
  EasePointRecord line;
  line.x = 1.0f;
  line.y = 1.0f;
  line.curve = static_cast<uint8_t>(EaseCurveKind::kLinear);
  end.ease = {origin, line};
  entry.motion.keyframes.items.push_back(std::move(end));
  return entry;
}

}  // namespace cva::bench
