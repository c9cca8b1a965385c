#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "scene/property_value.h"
#include "scene/track_numeric.h"

namespace cva {

class Motion;
class TrackEvents;
struct EasePoint;
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
// segment, the target a copy of the value the current segment eases toward. Advancing through
// the keyframes is done per frame by the scene's update; it takes over a keyframe's value only
// when the keyframe's value_applies is set (a keyframe of another property inside the motion
// keeps its timing and actions but never changes the holder).
//
// Everything an advance inside a segment reads sits in the track and its three values, not in
// the keyframes: when a segment starts, the track copies the value and notes the ease of the
// keyframe that ends it. A keyframe value written while the segment runs (rule programs can
// do that) is copied again before the next blend; see NoteKeyframeValueWritten.
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
  // The same, with start and target values owned by the caller (the start initialised here
  // from the holder; both of the holder's property) and the caller's flags kept up to date;
  // all three must outlive the track.
  PropertyTrack(PropertyValue& holder, PropertyValue& start, PropertyValue& target,
                TrackFlags& flags);
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
  bool Advance(float frame_length, float dt, TrackEvents* events = nullptr) {
    // Most advances stay inside the current segment with no instant keyframe waiting: they
    // only move the clock and blend, and are done here, inline in the frame's loop.
    if (has_key_ && !has_pending_) {
      const float step = UsableDuration(dt);
      const float length = SegmentLength(segment_frames_, UsableDuration(frame_length));
      if (length > segment_time_ + step) {
        passed_key_ = false;
        segment_time_ += step;
        run_time_ += step;
        BlendAt(segment_time_ / length);
        return true;
      }
    }
    return AdvanceThroughKeys(frame_length, dt, events);
  }
  // Starts the segment after the current keyframe: the next keyframe that is not instant ends
  // it, and the instant ones before it wait in the pending list. Returns false (key index
  // unchanged) when no such keyframe is left.
  bool NextSegment();
  // Runs `key`'s loop and inheritance actions; returns true when a loop end jumped back to its
  // loop start.
  bool FireActions(const Keyframe& key);

  // Tells every track that some keyframe's value was changed in place, so that a track easing
  // toward a copy of it copies it again.
  static void NoteKeyframeValueWritten() {
    keyframe_value_writes_.fetch_add(1, std::memory_order_relaxed);
  }

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
  const std::vector<const Keyframe*>& pending() const;
  const std::vector<std::pair<const Keyframe*, int32_t>>& loops() const;

 private:
  // The keyframe at key_index_, or null when the index lies outside the motion.
  const Keyframe* CurrentKey() const { return current_key_; }
  // Sets key_index_, the keyframe it points at and what the segment it ends blends toward.
  void SetKeyIndex(int32_t index);
  // Copies the current keyframe's value and ease into the track (blends_ false when the
  // segment does not blend).
  void TakeSegmentEase();
  // Fires the instant keyframes whose time has come; true when one of them jumped back.
  bool FirePending(float frame_length);
  // Reaches `key`: applies its value, counts it and reports it.
  void Reach(const Keyframe& key, TrackEvents* events);
  // Blends the holder at `fraction` of the current segment.
  void BlendAt(float fraction);
  // Advance when keyframes may be reached or instant keyframes wait.
  bool AdvanceThroughKeys(float frame_length, float dt, TrackEvents* events);
  // The length in milliseconds of `frames` frames (usable lengths only). A negative count
  // (from damaged data) is a segment of length 0 rather than one that gives time back.
  static float SegmentLength(int64_t frames, float frame_length) {
    return frames > 0 ? static_cast<float>(frames) * frame_length : 0.0f;
  }

  // What only some tracks need, made on first use so that a track stays two cache lines.
  struct Extras {
    std::unique_ptr<PropertyValue> owned_start;   // the start value of a track made alone
    std::unique_ptr<PropertyValue> owned_target;  // its target value
    std::vector<const Keyframe*> pending;         // instant keyframes waiting for their time
    std::vector<std::pair<const Keyframe*, int32_t>> loops;  // open loops, innermost last
  };
  Extras& extras();
  void ClearPending();

  // The bit of this track in the owner's flags.
  uint32_t FlagBit() const { return uint32_t{1} << static_cast<unsigned>(holder_.Index()); }

  // Keyframe values written in place so far (by every document in the process).
  static inline std::atomic<uint32_t> keyframe_value_writes_ = 0;

  // What an advance inside a segment reads fits in the first cache line (the class is aligned
  // to one).
  PropertyValue& holder_;
  PropertyValue* start_;
  PropertyValue* target_;
  const EasePoint* ease_ = nullptr;  // the current keyframe's ease points
  uint32_t ease_count_ = 0;
  bool has_key_ = false;        // key_index_ names a keyframe of the motion
  bool blends_ = false;         // the current segment eases the holder toward the target
  bool ease_is_line_ = false;   // ... along the straight line: the eased fraction is the fraction
  bool has_pending_ = false;    // false only when no instant keyframe waits
  bool passed_key_ = false;     // a keyframe was reached during the last advance
  uint32_t target_writes_ = 0;  // keyframe_value_writes_ when the target was copied
  float segment_time_ = 0.0f;
  float run_time_ = 0.0f;  // milliseconds counted for instant keyframes
  int32_t key_index_ = kNotStarted;
  int32_t segment_frames_ = 0;
  // Read when keyframes are reached or instant ones wait.
  const Motion* motion_ = nullptr;
  const Keyframe* current_key_ = nullptr;  // the keyframe at key_index_, null when none
  TrackFlags* flags_ = nullptr;
  bool inherit_ = true;  // combines with the parent node's value
  bool enabled_ = true;
  std::unique_ptr<Extras> extras_;
};

}  // namespace cva
