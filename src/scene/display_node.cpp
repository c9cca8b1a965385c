#include "scene/display_node.h"

#include <bit>
#include <new>
#include <utility>

#include "document/resource_provider.h"
#include "render/matrix_transform.h"
#include "scene/node_arena.h"
#include "scene/prefetch.h"

namespace cva {

namespace {

std::unique_ptr<Transform> IdentityTransform(ResourceProvider& provider) {
  std::unique_ptr<Transform> transform = provider.CreateTransform();
  if (transform) transform->SetIdentity();
  return transform;
}

}  // namespace

// Slots for the properties after 7, by index - kFixedCount; their values and tracks live in
// the arena (the tracks are destroyed first, they refer to the values).
struct DisplayNode::Extension {
  static constexpr size_t kCount = kPropertyCount - kFixedCount;
  std::array<PropertyValue*, kCount> holders{};
  std::array<PropertyTrack*, kCount> tracks{};
  std::array<PropertyValue*, kCount> starts{};
  std::array<PropertyValue*, kCount> targets{};
  // The local and world transforms when the provider's are not portable ones.
  std::unique_ptr<Transform> owned_local;
  std::unique_ptr<Transform> owned_world;
  std::unique_ptr<Transform> parent_base;
  NodeArena arena;

  Extension() = default;
  Extension(const Extension&) = delete;
  Extension& operator=(const Extension&) = delete;
  ~Extension() {
    for (PropertyTrack* track : tracks) {
      if (track) track->~PropertyTrack();
    }
    for (size_t i = 0; i < kCount; ++i) {
      for (PropertyValue* value : {starts[i], targets[i], holders[i]}) {
        if (value) value->~PropertyValue();
      }
    }
  }
};

namespace {

// Property `index` of a FixedValues tuple, by a run-time index below the tuple's size.
template <class Tuple, size_t... I>
PropertyValue* ValueAt(Tuple& values, size_t index, std::index_sequence<I...>) {
  PropertyValue* out = nullptr;
  ((index == I ? (out = &std::get<I>(values), 0) : 0), ...);
  return out;
}

}  // namespace

DisplayNode::DisplayNode(ResourceProvider& provider) : provider_(&provider) {
  const auto fixed = std::make_index_sequence<kFixedCount>();
  for (size_t i = 0; i < kFixedCount; ++i) {
    new (fixed_tracks_[i].bytes)
        PropertyTrack(*ValueAt(fixed_holders_, i, fixed), *ValueAt(fixed_starts_, i, fixed),
                      *ValueAt(fixed_targets_, i, fixed), flags_);
  }
  std::unique_ptr<Transform> first = IdentityTransform(provider);
  if (dynamic_cast<MatrixTransform*>(first.get())) {
    // The provider's transforms are portable ones, so portable ones kept with the node do
    // exactly what the provider's would.
    local_ = &fixed_local_;
    world_ = &fixed_world_;
    local_matrix_ = &fixed_local_.mutable_matrix();
    world_matrix_ = &fixed_world_.mutable_matrix();
  } else {
    Extension& more = extension();
    more.owned_local = std::move(first);
    more.owned_world = IdentityTransform(provider);
    local_ = more.owned_local.get();
    world_ = more.owned_world.get();
  }
  DrawCodesValue& codes = *fields<1>();
  codes.blend = 1;
  codes.mask = 1;
  codes.visibility = kParentVisibility;
  track(kDrawCodesProperty)->Reset();  // the track starts from the node's own codes
}

DisplayNode::~DisplayNode() {
  // Tracks refer to the values, so they go first: those of the extension with it, then those of
  // properties 0 to 7. The values of properties 0 to 7 are members and go with the node.
  extension_.reset();
  for (size_t i = 0; i < kFixedCount; ++i) FixedTrack(i).~PropertyTrack();
}

DisplayNode::Extension& DisplayNode::extension() {
  if (!extension_) extension_ = std::make_unique<Extension>();
  return *extension_;
}

Transform& DisplayNode::parent_base() {
  Extension& more = extension();
  if (!more.parent_base) more.parent_base = IdentityTransform(*provider_);
  return *more.parent_base;
}

PropertyValue* DisplayNode::AddProperty(int index) {
  if (index < 0 || index >= kPropertyCount) return nullptr;
  if (static_cast<size_t>(index) < kFixedCount) return holder(index);
  Extension& more = extension();
  const size_t i = static_cast<size_t>(index) - kFixedCount;
  if (!more.holders[i]) {
    more.holders[i] = CreatePropertyValueIn(index, more.arena);
    more.starts[i] = CreatePropertyValueIn(index, more.arena);
    more.targets[i] = CreatePropertyValueIn(index, more.arena);
    more.tracks[i] =
        more.arena.Make<PropertyTrack>(*more.holders[i], *more.starts[i], *more.targets[i], flags_);
  }
  return more.holders[i];
}

PropertyValue* DisplayNode::holder(int index) const {
  if (index < 0 || index >= kPropertyCount) return nullptr;
  const size_t i = static_cast<size_t>(index);
  if (i < kFixedCount) return ValueAt(fixed_holders_, i, std::make_index_sequence<kFixedCount>());
  return extension_ ? extension_->holders[i - kFixedCount] : nullptr;
}

PropertyTrack* DisplayNode::track(int index) const {
  if (index < 0 || index >= kPropertyCount) return nullptr;
  const size_t i = static_cast<size_t>(index);
  if (i < kFixedCount) return &FixedTrack(i);
  return extension_ ? extension_->tracks[i - kFixedCount] : nullptr;
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
  for (int i = 0; i < kPropertyCount; ++i) {
    if (PropertyTrack* t = track(i)) t->Reset();
  }
}

}  // namespace cva
