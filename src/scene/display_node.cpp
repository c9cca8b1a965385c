#include "scene/display_node.h"

#include <bit>
#include <new>
#include <utility>

#include "document/resource_provider.h"
#include "render/matrix_transform.h"
#include "scene/prefetch.h"

namespace cva {

namespace {

std::unique_ptr<Transform> IdentityTransform(ResourceProvider& provider) {
  std::unique_ptr<Transform> transform = provider.CreateTransform();
  if (transform) transform->SetIdentity();
  return transform;
}

}  // namespace

namespace {

// The pointers to the values of a FixedValues tuple, by property index.
template <class Tuple, size_t... I>
void PointAt(Tuple& values, std::array<PropertyValue*, kPropertyCount>& slots,
             std::index_sequence<I...>) {
  ((slots[I] = &std::get<I>(values)), ...);
}

}  // namespace

DisplayNode::DisplayNode(ResourceProvider& provider) {
  const auto fixed = std::make_index_sequence<kFixedCount>();
  PointAt(fixed_holders_, holders_, fixed);
  PointAt(fixed_starts_, starts_, fixed);
  PointAt(fixed_targets_, targets_, fixed);
  for (size_t i = 0; i < kFixedCount; ++i) {
    tracks_[i] =
        new (fixed_tracks_[i].bytes) PropertyTrack(*holders_[i], *starts_[i], *targets_[i], flags_);
  }
  std::unique_ptr<Transform> first = IdentityTransform(provider);
  if (dynamic_cast<MatrixTransform*>(first.get())) {
    // The provider's transforms are portable ones, so portable ones kept with the node do
    // exactly what the provider's would.
    local_ = &fixed_local_;
    world_ = &fixed_world_;
    parent_base_ = &fixed_parent_base_;
    local_matrix_ = &fixed_local_.mutable_matrix();
    world_matrix_ = &fixed_world_.mutable_matrix();
    parent_base_matrix_ = &fixed_parent_base_.mutable_matrix();
  } else {
    owned_local_ = std::move(first);
    owned_parent_base_ = IdentityTransform(provider);
    owned_world_ = IdentityTransform(provider);
    local_ = owned_local_.get();
    parent_base_ = owned_parent_base_.get();
    world_ = owned_world_.get();
  }
  DrawCodesValue& codes = *fields<1>();
  codes.blend = 1;
  codes.mask = 1;
  codes.visibility = kParentVisibility;
  track(1)->Reset();  // the track starts from the node's own codes
}

DisplayNode::~DisplayNode() {
  // Tracks refer to the values, so they go first. The values of properties 0 to 7 are members
  // and go with the node.
  for (PropertyTrack* track : tracks_) {
    if (track) track->~PropertyTrack();
  }
  for (size_t i = kFixedCount; i < kPropertyCount; ++i) {
    for (PropertyValue* value : {starts_[i], targets_[i], holders_[i]}) {
      if (value) value->~PropertyValue();
    }
  }
}

PropertyValue* DisplayNode::AddProperty(int index) {
  if (index < 0 || index >= kPropertyCount) return nullptr;
  const size_t i = static_cast<size_t>(index);
  if (!holders_[i]) {
    holders_[i] = CreatePropertyValueIn(index, arena_);
    starts_[i] = CreatePropertyValueIn(index, arena_);
    targets_[i] = CreatePropertyValueIn(index, arena_);
    tracks_[i] = arena_.Make<PropertyTrack>(*holders_[i], *starts_[i], *targets_[i], flags_);
  }
  return holders_[i];
}

PropertyValue* DisplayNode::holder(int index) const {
  if (index < 0 || index >= kPropertyCount) return nullptr;
  return holders_[static_cast<size_t>(index)];
}

PropertyTrack* DisplayNode::track(int index) const {
  if (index < 0 || index >= kPropertyCount) return nullptr;
  return tracks_[static_cast<size_t>(index)];
}

void DisplayNode::PrefetchFields() const {
  PrefetchForRead(this);
  const auto* values = reinterpret_cast<const char*>(&fixed_holders_);
  for (size_t offset = 0; offset < sizeof(fixed_holders_); offset += 64)
    PrefetchForRead(values + offset);
}

void DisplayNode::PrefetchTracksAndValues() const {
  for (uint32_t pending = flags_.advancing & ((1u << kFixedCount) - 1); pending != 0;
       pending &= pending - 1) {
    PrefetchForRead(&fixed_tracks_[static_cast<size_t>(std::countr_zero(pending))]);
  }
  PrefetchForRead(local_matrix_);
  PrefetchForRead(world_matrix_);
}

void DisplayNode::PrefetchDrawData() const {
  PrefetchForRead(this);
  PrefetchForRead(&fixed_world_);
  PrefetchForRead(reinterpret_cast<const char*>(&fixed_world_) + sizeof(fixed_world_) - 1);
}

void DisplayNode::ResetTracks() {
  for (PropertyTrack* track : tracks_) {
    if (track) track->Reset();
  }
}

}  // namespace cva
