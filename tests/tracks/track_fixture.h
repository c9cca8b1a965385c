#pragma once

// Builds motions from keyframe records and plays them on one track, recording what the track
// reports.

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "scene/keyframe.h"
#include "scene/motion.h"
#include "scene/property_track.h"
#include "scene/property_value.h"
#include "scene/track_events.h"

namespace cva::testing {

// A keyframe of `duration` frames with the value `value` (its property is the value's).
inline KeyframeRecord Key(int16_t duration, PropertyValueRecord value) {
  KeyframeRecord key;
  key.duration = duration;
  key.property = static_cast<uint8_t>(value.index());
  key.value = std::move(value);
  return key;
}

inline KeyframeRecord DepthKey(int16_t duration, int32_t depth) {
  return Key(duration, PropertyValueRecord(std::in_place_index<0>, DepthValue{depth}));
}

inline KeyframeRecord WithJump(KeyframeRecord key, uint8_t jump, int16_t loop_count = 0,
                               int32_t loop_back_frames = 0) {
  key.jump = jump;
  key.loop_count = loop_count;
  key.loop_back_frames = loop_back_frames;
  return key;
}

inline KeyframeRecord Instant(KeyframeRecord key) {
  key.instant = true;
  return key;
}

inline EasePointRecord Point(float x, float y, EaseCurveKind curve) {
  EasePointRecord point;
  point.x = x;
  point.y = y;
  point.curve = static_cast<uint8_t>(curve);
  return point;
}

// The straight ease from (0, 0) to (1, 1).
inline std::vector<EasePointRecord> LinearEase() {
  return {Point(0.0f, 0.0f, EaseCurveKind::kNone), Point(1.0f, 1.0f, EaseCurveKind::kLinear)};
}

inline KeyframeRecord Eased(KeyframeRecord key, std::vector<EasePointRecord> ease = LinearEase()) {
  key.ease = std::move(ease);
  return key;
}

inline std::unique_ptr<Motion> MakeMotion(uint8_t property, std::vector<KeyframeRecord> keys) {
  MotionRecord record;
  record.property = property;
  record.keyframes.items = std::move(keys);
  record.keyframes.stored_count = static_cast<int16_t>(record.keyframes.items.size());
  return Motion::FromRecord(record, nullptr);
}

// Records the keyframes reached, as indices into the motion, and the finishes.
class RecordingTrackEvents final : public TrackEvents {
 public:
  void KeyframeReached(PropertyTrack& track, const Keyframe& key) override {
    reached.push_back(static_cast<int>(&key - track.motion()->keyframes().data()));
  }
  void MotionFinished(PropertyTrack&) override { ++finished; }

  std::vector<int> reached;
  int finished = 0;
};

// One holder of property `index` with its track.
class TrackBench {
 public:
  explicit TrackBench(int index) : holder_(CreatePropertyValue(index)), track_(*holder_) {}

  void Play(std::vector<KeyframeRecord> keys) {
    motion_ = MakeMotion(static_cast<uint8_t>(holder_->Index()), std::move(keys));
    track_.SetMotion(motion_.get());
  }
  bool Advance(float frame_length, float dt) { return track_.Advance(frame_length, dt, &events_); }

  template <size_t I>
  const PropertyFields<I>& value() const {
    const PropertyFields<I>* fields = FieldsOf<I>(static_cast<const PropertyValue*>(holder_.get()));
    EXPECT_NE(fields, nullptr);
    return *fields;
  }
  int32_t depth() const { return value<0>().depth; }

  PropertyValue& holder() { return *holder_; }
  PropertyTrack& track() { return track_; }
  const Motion& motion() const { return *motion_; }
  Motion& mutable_motion() { return *motion_; }
  RecordingTrackEvents& events() { return events_; }

 private:
  std::unique_ptr<PropertyValue> holder_;
  PropertyTrack track_;
  std::unique_ptr<Motion> motion_;
  RecordingTrackEvents events_;
};

}  // namespace cva::testing
