#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "scene/property_value.h"

namespace cva {

class Motion;
struct Keyframe;

// Plays one motion on one property of a display node: the holder is the property's current
// value (owned by the display node), the start value is the value at the start of the current
// segment. Advancing through the keyframes is done per frame by the scene's update; it takes
// over a keyframe's value only when the keyframe's value_applies is set (a keyframe of another
// property inside the motion keeps its timing and actions but never changes the holder).
class PropertyTrack {
 public:
  // keyIndex values besides the index of the keyframe that ends the current segment.
  static constexpr int32_t kNotStarted = -1;
  static constexpr int32_t kFinished = -2;

  // The track of `holder`'s property; it has no motion until a label jump gives it one.
  explicit PropertyTrack(PropertyValue& holder);
  PropertyTrack(const PropertyTrack&) = delete;
  PropertyTrack& operator=(const PropertyTrack&) = delete;

  // Back to the start state: the holder's current value becomes the start of the first segment,
  // no segment is running, no instant keyframe is waiting and no loop is open.
  void Reset();
  // Resets the track, then plays `motion` (null: none) from its first keyframe on.
  void SetMotion(const Motion* motion);

  int property() const { return holder_.Index(); }
  PropertyValue& holder() const { return holder_; }
  const PropertyValue& start() const { return *start_; }
  const Motion* motion() const { return motion_; }
  bool inherit() const { return inherit_; }
  void set_inherit(bool inherit) { inherit_ = inherit; }
  bool enabled() const { return enabled_; }
  bool passed_key() const { return passed_key_; }
  float segment_time() const { return segment_time_; }
  int32_t key_index() const { return key_index_; }
  int32_t segment_frames() const { return segment_frames_; }
  float run_time() const { return run_time_; }
  const std::vector<const Keyframe*>& pending() const { return pending_; }
  const std::vector<std::pair<const Keyframe*, int32_t>>& loops() const { return loops_; }

 private:
  PropertyValue& holder_;
  std::unique_ptr<PropertyValue> start_;
  bool inherit_ = true;  // combines with the parent node's value
  bool enabled_ = true;
  bool passed_key_ = false;  // a keyframe was reached during the last advance
  float segment_time_ = 0.0f;
  int32_t key_index_ = kNotStarted;
  int32_t segment_frames_ = 0;
  const Motion* motion_ = nullptr;
  float run_time_ = 0.0f;                 // milliseconds counted for instant keyframes
  std::vector<const Keyframe*> pending_;  // instant keyframes waiting for their time
  std::vector<std::pair<const Keyframe*, int32_t>> loops_;  // open loops, innermost last
};

}  // namespace cva
