#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "render/colour.h"
#include "render/primitives.h"
#include "render/vec2.h"
#include "scene/property_record.h"
#include "scene/property_track.h"
#include "scene/property_value.h"

namespace cva {

class ResourceProvider;

// The animated side of a scene node: its property values with one track each, its transforms
// and the colour, depth and visibility it takes after combining with its parent.
class DisplayNode {
 public:
  // Effective visibility codes.
  static constexpr int32_t kNotDrawn = 2;
  static constexpr int32_t kParentVisibility = 3;
  // Properties every display node has.
  static constexpr int kFirstNodeProperty = 0;
  static constexpr int kLastNodeProperty = 7;
  // The scene root's on-load jump.
  static constexpr int kOnLoadJumpProperty = 8;

  // Creates properties 0 to 7 at their defaults (property 1 at blend 1, mask 1, visibility 3),
  // their tracks, and identity matrices from `provider`.
  explicit DisplayNode(ResourceProvider& provider);
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
  // Resets every track to its start state.
  void ResetTracks();

  Transform& local() const { return *local_; }
  Transform& parent_base() const { return *parent_base_; }
  Transform& world() const { return *world_; }
  // The matrix used as the parent transform this frame (null until the first update).
  const Transform* parent_world() const { return parent_world_; }
  void set_parent_world(const Transform* parent_world) { parent_world_ = parent_world; }

  Colour colour;
  int32_t depth = 0;
  Vec2 previous_position;
  int32_t visibility = kParentVisibility;

 private:
  // Values are declared before the tracks that refer to them, so tracks go first.
  std::array<std::unique_ptr<PropertyValue>, kPropertyCount> holders_;
  std::array<std::unique_ptr<PropertyTrack>, kPropertyCount> tracks_;
  std::unique_ptr<Transform> local_;
  std::unique_ptr<Transform> parent_base_;
  std::unique_ptr<Transform> world_;
  const Transform* parent_world_ = nullptr;
};

}  // namespace cva
