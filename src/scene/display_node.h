#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <tuple>

#include "render/colour.h"
#include "render/matrix.h"
#include "render/matrix_transform.h"
#include "render/primitives.h"
#include "render/vec2.h"
#include "scene/property_record.h"
#include "scene/property_track.h"
#include "scene/property_value.h"

namespace cva {

class ResourceProvider;

// The animated side of a scene node: its property values with one track each, its transforms
// and the colour, depth and visibility it takes after combining with its parent. What a frame
// reads is part of the node itself, packed so that a walk over many nodes moves little memory:
// the values, tracks, start and target values of properties 0 to 7 and, when the provider's
// transforms are the portable kind, the local and world transforms. What only some nodes need
// (the properties instances add later, transforms of another kind, the base of a node that does
// not inherit all of its parent's placement) sits in an extension made on first use.
class DisplayNode {
 public:
  // Effective visibility codes.
  static constexpr int32_t kNotDrawn = 2;
  static constexpr int32_t kParentVisibility = 3;
  // Properties every display node has (depth to colour).
  static constexpr int kFirstNodeProperty = kDepthProperty;
  static constexpr int kLastNodeProperty = kColourProperty;

  // Creates properties 0 to 7 at their defaults (property 1 at blend 1, mask 1, visibility 3),
  // their tracks, and identity matrices from `provider`.
  explicit DisplayNode(ResourceProvider& provider);
  ~DisplayNode();
  DisplayNode(const DisplayNode&) = delete;
  DisplayNode& operator=(const DisplayNode&) = delete;

  // Gives the node property `index` at its default value, with a track (instances add their
  // object type's properties, the root adds its on-load jump). Returns the value, or null for
  // an index outside 0..25. A property the node already has is kept as it is.
  PropertyValue* AddProperty(int index);
  bool HasProperty(int index) const { return holder(index) != nullptr; }
  // The current value / the track of property `index`, or null when the node lacks it.
  PropertyValue* holder(int index) const;
  PropertyTrack* track(int index) const;
  // The fields of property I's current value, or null when the node lacks the property.
  template <size_t I>
  PropertyFields<I>* fields() const {
    static_assert(I < kPropertyCount);
    // Properties every node has sit in the node itself: no slot to read on the way.
    if constexpr (I <= kLastNodeProperty) return &std::get<I>(fixed_holders_).fields();
    // The value at index I was created for property I, so it is a TypedPropertyValue<I>.
    PropertyValue* value = holder(static_cast<int>(I));
    return value ? &static_cast<TypedPropertyValue<I>*>(value)->fields() : nullptr;
  }
  // The track of property `index`, which the node has (its bit is set in the track flags).
  PropertyTrack& track_with_motion(int index) const {
    return index <= kLastNodeProperty ? FixedTrack(static_cast<size_t>(index)) : *track(index);
  }
  // Resets every track to its start state.
  void ResetTracks();

  // Hints for the processor, in the order a frame needs the data (the second reads what the
  // first asked for): the node's own fields; then its tracks in motion, values and matrices.
  // They change nothing.
  void PrefetchFields() const;
  void PrefetchTracksAndValues() const;
  // What drawing reads: the colour and the world transform.
  void PrefetchDrawData() const;
  // The flags of the node's tracks (which to advance, which do not inherit).
  const TrackFlags& track_flags() const { return flags_; }

  Transform& local() const { return *local_; }
  Transform& world() const { return *world_; }
  // The transform a node that does not inherit all of its parent's placement is placed on
  // (identity until the first update that needs it).
  Transform& parent_base();
  // The matrices of local() and world() when they are portable transforms (MatrixTransform),
  // for computing them directly; null otherwise.
  Matrix4* local_matrix() const { return local_matrix_; }
  Matrix4* world_matrix() const { return world_matrix_; }
  // The matrix used as the parent transform this frame (null until the first update).
  const Transform* parent_world() const { return parent_world_; }
  void set_parent_world(const Transform* parent_world) { parent_world_ = parent_world; }

  Colour colour;
  int32_t depth = 0;
  Vec2 previous_position;
  int32_t visibility = kParentVisibility;

 private:
  // What only some nodes need (see the class comment).
  struct Extension;
  Extension& extension();

  // What every frame reads comes first (with the public fields above, one cache line).
  TrackFlags flags_;
  Matrix4* local_matrix_ = nullptr;
  Matrix4* world_matrix_ = nullptr;
  const Transform* parent_world_ = nullptr;
  Transform* world_ = nullptr;
  Transform* local_ = nullptr;
  ResourceProvider* provider_;
  std::unique_ptr<Extension> extension_;

  // Properties 0 to 7 in the order a frame reads them: current values, transforms, tracks,
  // start and target values. Found from the node's own address, so a frame reads no slot to
  // reach them.
  using FixedValues =
      std::tuple<TypedPropertyValue<0>, TypedPropertyValue<1>, TypedPropertyValue<2>,
                 TypedPropertyValue<3>, TypedPropertyValue<4>, TypedPropertyValue<5>,
                 TypedPropertyValue<6>, TypedPropertyValue<7>>;
  struct TrackStorage {
    alignas(PropertyTrack) std::byte bytes[sizeof(PropertyTrack)];
  };
  static constexpr size_t kFixedCount = kLastNodeProperty + 1;
  PropertyTrack& FixedTrack(size_t index) const {
    return *std::launder(reinterpret_cast<PropertyTrack*>(fixed_tracks_[index].bytes));
  }
  mutable FixedValues fixed_holders_;
  // The transforms when they are portable ones (unused otherwise).
  MatrixTransform fixed_local_;
  MatrixTransform fixed_world_;
  mutable std::array<TrackStorage, kFixedCount> fixed_tracks_;
  FixedValues fixed_starts_;
  FixedValues fixed_targets_;
};

}  // namespace cva
