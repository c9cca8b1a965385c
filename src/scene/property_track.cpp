#include "scene/property_track.h"

namespace cva {

PropertyTrack::PropertyTrack(PropertyValue& holder)
    : holder_(holder), start_(nullptr), target_(nullptr) {
  extras().owned_start = holder.Clone();
  extras().owned_target = holder.Clone();
  start_ = extras_->owned_start.get();
  target_ = extras_->owned_target.get();
}

PropertyTrack::PropertyTrack(PropertyValue& holder, PropertyValue& start, PropertyValue& target,
                             TrackFlags& flags)
    : holder_(holder), start_(&start), target_(&target), flags_(&flags) {
  start.Assign(holder);
  flags.not_inheriting &= ~FlagBit();
}

PropertyTrack::Extras& PropertyTrack::extras() {
  if (!extras_) extras_ = std::make_unique<Extras>();
  return *extras_;
}

void PropertyTrack::ClearPending() {
  if (extras_) extras_->pending.clear();
  has_pending_ = false;
}

const std::vector<const Keyframe*>& PropertyTrack::pending() const {
  static const std::vector<const Keyframe*> kNone;
  return extras_ ? extras_->pending : kNone;
}

const std::vector<std::pair<const Keyframe*, int32_t>>& PropertyTrack::loops() const {
  static const std::vector<std::pair<const Keyframe*, int32_t>> kNone;
  return extras_ ? extras_->loops : kNone;
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
  ClearPending();
  if (extras_) extras_->loops.clear();
}

void PropertyTrack::SetMotion(const Motion* motion) {
  Reset();
  motion_ = motion;
  SetKeyIndex(kNotStarted);
  if (flags_) flags_->advancing |= FlagBit();
}

}  // namespace cva
