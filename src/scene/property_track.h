#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "scene/prefetch.h"
#include "scene/property_value.h"

namespace cva {

class Motion;
class TrackEvents;
struct Keyframe;

// What the owner of several tracks keeps about them to skip work per frame: one bit per
// property index (the track of property i is bit i).
struct TrackFlags {
  // Tracks to advance: set when a track is given a motion (or none, so that one more
  // advance clears its passed-key flag); cleared by an advance that finds no motion.
  uint32_t advancing = 0;
  // Tracks that do not combine with the parent node's value.
  uint32_t not_inheriting = 0;
};

// Plays one motion on one property of a display node: the holder is the property's current
// value (owned by the display node), the start value is the value at the start of the current
// segment. Advancing through the keyframes is done per frame by the scene's update; it takes
// over a keyframe's value only when the keyframe's value_applies is set (a keyframe of another
// property inside the motion keeps its timing and actions but never changes the holder).
//
// The work of one advance is bounded: a loop that repeats for ever over keyframes of total
// length 0 replays once per advance instead of hanging the frame, and at most
// kMaxKeyframesPerAdvance keyframes are reached per advance (the rest of the elapsed time is
// kept and caught up on by the following advances).
class alignas(64) PropertyTrack {
 public:
  // keyIndex values besides the index of the keyframe that ends the current segment.
  static constexpr int32_t kNotStarted = -1;
  static constexpr int32_t kFinished = -2;
  // Bound of the keyframes one advance reaches.
  static constexpr int32_t kMaxKeyframesPerAdvance = 1 << 16;

  // The track of `holder`'s property; it has no motion until a label jump gives it one.
  explicit PropertyTrack(PropertyValue& holder);
  // The same, with a start value owned by the caller (initialised here from the holder) and
  // the caller's flags kept up to date; both must outlive the track.
  PropertyTrack(PropertyValue& holder, PropertyValue& start, TrackFlags& flags);
  PropertyTrack(const PropertyTrack&) = delete;
  PropertyTrack& operator=(const PropertyTrack&) = delete;

  // Back to the start state: the holder's current value becomes the start of the first segment,
  // no segment is running, no instant keyframe is waiting and no loop is open.
  void Reset();
  // Resets the track, then plays `motion` (null: none) from its first keyframe on.
  void SetMotion(const Motion* motion);

  // Moves the track on by `dt` milliseconds, one frame lasting `frame_length` milliseconds:
  // reaches the keyframes whose time has come (applying their values, firing their loop, stop
  // and inheritance actions and reporting them to `events` when given) and blends the holder
  // along the current segment's easing curve. Returns true when the track has a motion and
  // produced or kept a value, false when it has no motion, has finished or points outside its
  // motion. A negative, infinite or NaN dt or frame length counts as 0.
  bool Advance(float frame_length, float dt, TrackEvents* events = nullptr);
  // Starts the segment after the current keyframe: the next keyframe that is not instant ends
  // it, and the instant ones before it wait in the pending list. Returns false (key index
  // unchanged) when no such keyframe is left.
  bool NextSegment();
  // Runs `key`'s loop and inheritance actions; returns true when a loop end jumped back to its
  // loop start.
  bool FireActions(const Keyframe& key);

  // A hint to the processor to start loading the current keyframe, which the next advance
  // reads; changes nothing.
  void Prefetch() const { PrefetchForRead(current_key_); }

  int property() const { return holder_.Index(); }
  PropertyValue& holder() const { return holder_; }
  const PropertyValue& start() const { return *start_; }
  const Motion* motion() const { return motion_; }
  bool inherit() const { return inherit_; }
  void set_inherit(bool inherit);
  bool enabled() const { return enabled_; }
  bool passed_key() const { return passed_key_; }
  float segment_time() const { return segment_time_; }
  int32_t key_index() const { return key_index_; }
  int32_t segment_frames() const { return segment_frames_; }
  float run_time() const { return run_time_; }
  const std::vector<const Keyframe*>& pending() const { return pending_; }
  const std::vector<std::pair<const Keyframe*, int32_t>>& loops() const { return loops_; }

 private:
  // The keyframe at key_index_, or null when the index lies outside the motion.
  const Keyframe* CurrentKey() const { return current_key_; }
  // Sets key_index_ and the keyframe it points at.
  void SetKeyIndex(int32_t index);
  // Fires the instant keyframes whose time has come; true when one of them jumped back.
  bool FirePending(float frame_length);
  // Reaches `key`: applies its value, counts it and reports it.
  void Reach(const Keyframe& key, TrackEvents* events);

  // The bit of this track in the owner's flags.
  uint32_t FlagBit() const { return uint32_t{1} << static_cast<unsigned>(holder_.Index()); }

  // What every advance reads fits in the first cache line (the class is aligned to one).
  PropertyValue& holder_;
  PropertyValue* start_;
  TrackFlags* flags_ = nullptr;
  const Motion* motion_ = nullptr;
  const Keyframe* current_key_ = nullptr;  // the keyframe at key_index_, null when none
  float segment_time_ = 0.0f;
  float run_time_ = 0.0f;  // milliseconds counted for instant keyframes
  int32_t key_index_ = kNotStarted;
  int32_t segment_frames_ = 0;
  bool inherit_ = true;  // combines with the parent node's value
  bool enabled_ = true;
  bool passed_key_ = false;   // a keyframe was reached during the last advance
  bool has_pending_ = false;  // false only when pending_ is empty
  // Read only when keyframes are reached or instant ones wait.
  std::unique_ptr<PropertyValue> owned_start_;  // null when the owner keeps the start value
  std::vector<const Keyframe*> pending_;        // instant keyframes waiting for their time
  std::vector<std::pair<const Keyframe*, int32_t>> loops_;  // open loops, innermost last
};

}  // namespace cva
