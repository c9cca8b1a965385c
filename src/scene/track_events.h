#pragma once

namespace cva {

class PropertyTrack;
struct Keyframe;

// What a property track reports to the scene while it advances. The scene implements it (to
// run the root's on-load jump, to start sounds or reload embedded scenes when their keyframes
// are reached, ...) and passes it to PropertyTrack::Advance. Both calls happen in the middle
// of the advance: an implementation must not change the track's motion from inside them
// (queue label jumps instead; they run at the start of the next tick).
class TrackEvents {
 public:
  virtual ~TrackEvents() = default;
  // The segment ending at `key` completed and the keyframe's value was applied to the holder.
  // A stop keyframe (key.jump == Keyframe::kStop) is reported again on every later advance that
  // re-applies it; a keyframe of another property (value_applies false) is reported although
  // its value changed nothing.
  virtual void KeyframeReached(PropertyTrack& track, const Keyframe& key) = 0;
  // The track applied the last keyframe of its motion and has finished.
  virtual void MotionFinished(PropertyTrack& track) = 0;
};

}  // namespace cva
