// How a property track moves through its motion: segments, instant keyframes, loops, stops.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <span>

#include "scene/ease_evaluation.h"
#include "scene/keyframe.h"
#include "scene/motion.h"
#include "scene/property_track.h"
#include "scene/track_blend.h"
#include "scene/track_events.h"
#include "scene/track_numeric.h"

namespace cva {
namespace {

constexpr int32_t kForever = -1;

// The index of `key` in `motion`, or -1 when it does not belong to it.
int32_t IndexIn(const Motion& motion, const Keyframe* key) {
  const Keyframe* first = motion.keyframes().data();
  const Keyframe* end = first + motion.size();
  if (std::less<const Keyframe*>{}(key, first) || !std::less<const Keyframe*>{}(key, end))
    return -1;
  return static_cast<int32_t>(key - first);
}

}  // namespace

void PropertyTrack::SetKeyIndex(int32_t index) {
  key_index_ = index;
  // A motion's keyframes are not resized once built, so the pointer stays valid.
  if (!motion_ || index < 0 || static_cast<size_t>(index) >= motion_->size()) {
    current_key_ = nullptr;
  } else {
    current_key_ = &motion_->keyframes()[static_cast<size_t>(index)];
  }
  has_key_ = current_key_ != nullptr;
  TakeSegmentEase();
}

void PropertyTrack::TakeSegmentEase() {
  const Keyframe* key = current_key_;
  target_writes_ = keyframe_value_writes_.load(std::memory_order_relaxed);
  // A value of another property never blends (the motion was given to the wrong track).
  blends_ = key && !key->ease.empty() && key->value_applies && key->value &&
            key->value->Index() == holder_.Index();
  if (!blends_) {
    ease_ = nullptr;
    ease_count_ = 0;
    ease_is_line_ = false;
    return;
  }
  target_->Assign(*key->value);
  ease_ = key->ease.data();
  ease_count_ = static_cast<uint32_t>(key->ease.size());
  ease_is_line_ = key->ease_is_line;
}

void PropertyTrack::BlendAt(float fraction) {
  if (target_writes_ != keyframe_value_writes_.load(std::memory_order_relaxed)) TakeSegmentEase();
  if (!blends_) return;
  const float eased = ease_is_line_ && fraction >= 0.0f
                          ? fraction
                          : EvaluateEase(std::span<const EasePoint>(ease_, ease_count_), fraction);
  Blend(holder_, *target_, *start_, eased);
}

bool PropertyTrack::NextSegment() {
  segment_frames_ = 0;
  ClearPending();
  if (!motion_) return false;
  const std::vector<Keyframe>& keys = motion_->keyframes();
  int64_t frames = 0;
  for (size_t i = static_cast<size_t>(std::max(key_index_ + 1, 0)); i < keys.size(); ++i) {
    frames += keys[i].duration;
    segment_frames_ = TruncateSaturated<int32_t>(static_cast<double>(frames));
    if (!keys[i].instant) {
      SetKeyIndex(static_cast<int32_t>(i));
      return true;
    }
    extras().pending.push_back(&keys[i]);
    has_pending_ = true;
  }
  return false;
}

bool PropertyTrack::FireActions(const Keyframe& key) {
  bool jumped = false;
  if (key.jump == Keyframe::kLoopStart) {
    // A motion cannot have more loops open than it has keyframes; a deeper stack could only
    // come from a runaway, so it stops growing there.
    std::vector<std::pair<const Keyframe*, int32_t>>& loops = extras().loops;
    const bool already_open = !loops.empty() && loops.back().first == &key;
    if (!already_open && motion_ && loops.size() < motion_->size()) loops.emplace_back(&key, 0);
  } else if (key.jump == Keyframe::kLoopEnd && extras_ && !extras_->loops.empty()) {
    std::vector<std::pair<const Keyframe*, int32_t>>& loops = extras_->loops;
    auto& [start, count] = loops.back();
    if (count < std::numeric_limits<int32_t>::max()) ++count;  // a loop for ever keeps counting
    if (key.loop_count == kForever || count <= key.loop_count) {
      SetKeyIndex(motion_ ? IndexIn(*motion_, start) : -1);
      segment_frames_ = key.loop_back_frames;
      ClearPending();
      jumped = true;
    } else {
      loops.pop_back();
    }
  }
  if (key.inheritance == Keyframe::kInheritOn) set_inherit(true);
  if (key.inheritance == Keyframe::kInheritOff) set_inherit(false);
  return jumped;
}

bool PropertyTrack::FirePending(float frame_length) {
  std::vector<const Keyframe*>& pending = extras().pending;
  size_t fired = 0;
  for (; fired < pending.size(); ++fired) {
    const Keyframe& key = *pending[fired];
    const float due = SegmentLength(key.duration, frame_length);
    if (due > run_time_) break;
    if (FireActions(key)) return true;  // the jump emptied the pending list
    run_time_ -= due;
  }
  pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(fired));
  has_pending_ = !pending.empty();
  return false;
}

void PropertyTrack::Reach(const Keyframe& key, TrackEvents* events) {
  if (key.value_applies && key.value) {
    holder_.Apply(*key.value);
    start_->Apply(*key.value);
  }
  passed_key_ = true;
  if (events) events->KeyframeReached(*this, key);
}

bool PropertyTrack::AdvanceThroughKeys(float frame_length, float dt, TrackEvents* events) {
  passed_key_ = false;
  if (!has_key_) {
    if (!motion_) {
      if (flags_) flags_->advancing &= ~FlagBit();
      return false;
    }
    if (key_index_ == kNotStarted) NextSegment();
    // Finished, or pointing outside the motion.
    if (!has_key_) return false;
  }

  frame_length = UsableDuration(frame_length);
  dt = UsableDuration(dt);
  segment_time_ += dt;
  run_time_ += dt;

  // Segment time left when a loop for ever last jumped back during this advance (at first:
  // the time this advance starts with).
  float time_at_last_repeat = segment_time_;
  for (int32_t reached = 0;;) {
    const float length = SegmentLength(segment_frames_, frame_length);
    if (length > segment_time_) {
      // Inside the segment (so length > 0): instant keyframes, then the eased value.
      if (has_pending_ && FirePending(frame_length) && !has_key_) return true;
      BlendAt(segment_time_ / length);
      return true;
    }
    // The segment is complete.
    if (reached == kMaxKeyframesPerAdvance) return true;  // the rest waits for the next advance
    ++reached;
    const Keyframe& key = *current_key_;  // has_key_ holds whenever the loop gets here
    Reach(key, events);
    segment_time_ -= length;
    run_time_ = segment_time_;
    if (key.jump == Keyframe::kStop) return true;  // held here; re-applied on later advances
    if (FireActions(key)) {
      // A loop for ever whose repeated stretch took no time would repeat without end: it
      // repeats once per advance.
      if (key.loop_count == kForever) {
        if (segment_time_ >= time_at_last_repeat) return true;
        time_at_last_repeat = segment_time_;
      }
      if (!has_key_) return true;  // the loop start is gone: the search restarts next advance
      continue;
    }
    if (NextSegment()) continue;
    SetKeyIndex(kFinished);
    if (events) events->MotionFinished(*this);
    return true;
  }
}

}  // namespace cva
