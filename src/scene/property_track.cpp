#include "scene/property_track.h"

namespace cva {

PropertyTrack::PropertyTrack(PropertyValue& holder) : holder_(holder), start_(holder.Clone()) {}

void PropertyTrack::Reset() {
  segment_time_ = 0.0f;
  run_time_ = 0.0f;
  key_index_ = kNotStarted;
  segment_frames_ = 0;
  start_->Assign(holder_);
  pending_.clear();
  loops_.clear();
}

void PropertyTrack::SetMotion(const Motion* motion) {
  Reset();
  motion_ = motion;
}

}  // namespace cva
