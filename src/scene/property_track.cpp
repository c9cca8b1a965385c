#include "scene/property_track.h"

namespace cva {

PropertyTrack::PropertyTrack(PropertyValue& holder)
    : holder_(holder),
      start_(nullptr),
      target_(nullptr),
      owned_start_(holder.Clone()),
      owned_target_(holder.Clone()) {
  start_ = owned_start_.get();
  target_ = owned_target_.get();
}

PropertyTrack::PropertyTrack(PropertyValue& holder, PropertyValue& start, PropertyValue& target,
                             TrackFlags& flags)
    : holder_(holder), start_(&start), target_(&target), flags_(&flags) {
  start.Assign(holder);
  flags.not_inheriting &= ~FlagBit();
}

void PropertyTrack::set_inherit(bool inherit) {
  inherit_ = inherit;
  if (!flags_) return;
  if (inherit) {
    flags_->not_inheriting &= ~FlagBit();
  } else {
    flags_->not_inheriting |= FlagBit();
  }
}

void PropertyTrack::Reset() {
  segment_time_ = 0.0f;
  run_time_ = 0.0f;
  SetKeyIndex(kNotStarted);
  segment_frames_ = 0;
  start_->Assign(holder_);
  pending_.clear();
  has_pending_ = false;
  loops_.clear();
}

void PropertyTrack::SetMotion(const Motion* motion) {
  Reset();
  motion_ = motion;
  SetKeyIndex(kNotStarted);
  if (flags_) flags_->advancing |= FlagBit();
}

}  // namespace cva
