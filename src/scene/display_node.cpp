#include "scene/display_node.h"

#include <bit>
#include <new>

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

// A portable transform in `arena`, its matrix in `matrix`.
Transform* ArenaTransform(NodeArena& arena, Matrix4*& matrix) {
  MatrixTransform* transform = arena.Make<MatrixTransform>();
  matrix = &transform->mutable_matrix();
  return transform;
}

}  // namespace

DisplayNode::DisplayNode(ResourceProvider& provider) {
  // The properties every node has, laid out in the order a frame reads them: the current
  // values, the local and world transforms, the tracks, then the start and target values of
  // each track; the parent base transform, rarely used, comes last.
  for (int index = kFirstNodeProperty; index <= kLastNodeProperty; ++index) {
    holders_[static_cast<size_t>(index)] = CreatePropertyValueIn(index, arena_);
  }
  std::unique_ptr<Transform> first = IdentityTransform(provider);
  const bool portable = dynamic_cast<MatrixTransform*>(first.get()) != nullptr;
  if (portable) {
    // The provider's transforms are portable ones, so portable ones kept with the node do
    // exactly what the provider's would.
    local_ = ArenaTransform(arena_, local_matrix_);
    world_ = ArenaTransform(arena_, world_matrix_);
  }
  for (int index = kFirstNodeProperty; index <= kLastNodeProperty; ++index) {
    tracks_[static_cast<size_t>(index)] =
        static_cast<PropertyTrack*>(arena_.Allocate(sizeof(PropertyTrack), alignof(PropertyTrack)));
  }
  for (int index = kFirstNodeProperty; index <= kLastNodeProperty; ++index) {
    const size_t i = static_cast<size_t>(index);
    starts_[i] = CreatePropertyValueIn(index, arena_);
    targets_[i] = CreatePropertyValueIn(index, arena_);
    new (tracks_[i]) PropertyTrack(*holders_[i], *starts_[i], *targets_[i], flags_);
  }
  if (portable) {
    parent_base_ = ArenaTransform(arena_, parent_base_matrix_);
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
  // Tracks refer to the values, so they go first.
  for (PropertyTrack* track : tracks_) {
    if (track) track->~PropertyTrack();
  }
  for (PropertyValue* value : starts_) {
    if (value) value->~PropertyValue();
  }
  for (PropertyValue* value : targets_) {
    if (value) value->~PropertyValue();
  }
  for (PropertyValue* value : holders_) {
    if (value) value->~PropertyValue();
  }
  if (local_matrix_) {
    for (Transform* transform : {local_, parent_base_, world_}) transform->~Transform();
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
  PrefetchForRead(&holders_[kFirstNodeProperty]);
  PrefetchForRead(&tracks_[kFirstNodeProperty]);
}

void DisplayNode::PrefetchTracksAndValues() const {
  for (uint32_t pending = flags_.advancing; pending != 0; pending &= pending - 1) {
    PrefetchForRead(tracks_[static_cast<size_t>(std::countr_zero(pending))]);
  }
  for (int index = kFirstNodeProperty; index <= kLastNodeProperty; ++index) {
    PrefetchForRead(holders_[static_cast<size_t>(index)]);
  }
  PrefetchForRead(local_matrix_);
  PrefetchForRead(world_matrix_);
}

void DisplayNode::ResetTracks() {
  for (PropertyTrack* track : tracks_) {
    if (track) track->Reset();
  }
}

}  // namespace cva
