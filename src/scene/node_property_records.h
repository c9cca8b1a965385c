#pragma once

// Stored forms of the properties every display node has (0 to 7) and of the scene root's
// on-load jump (8). Each struct holds its defaults and describes its record once.

#include <cstdint>
#include <vector>

#include "render/colour.h"
#include "render/vec2.h"
#include "scene/byte_counted_list.h"
#include "stream/record_fields.h"

namespace cva {

// Copies `from` into `to` only when it is non-zero (the merge rule of coded properties).
inline void MergeCode(uint8_t& to, uint8_t from) {
  if (from != 0) to = from;
}

// 0: place in the draw order; 0 takes the parent's.
struct DepthValue {
  int32_t depth = 0;

  template <class V>
  void Visit(V& v) {
    v.Int("depth", depth);
  }
  friend bool operator==(const DepthValue&, const DepthValue&) = default;
};

// 1: blend code (2 additive), mask code (2 writes a mask, 3 drawn inside it, 4 drawn inside and
// closes it) and visibility (2 not drawn, 3 the parent's). A keyframe changes only the codes it
// sets to a non-zero value.
struct DrawCodesValue {
  uint8_t blend = 0;
  uint8_t mask = 0;
  uint8_t visibility = 0;

  template <class V>
  void Visit(V& v) {
    v.Byte("blend", blend);
    v.Byte("mask", mask);
    v.Byte("visibility", visibility);
  }
  void MergeFrom(const DrawCodesValue& other) {
    MergeCode(blend, other.blend);
    MergeCode(mask, other.mask);
    MergeCode(visibility, other.visibility);
  }
  friend bool operator==(const DrawCodesValue&, const DrawCodesValue&) = default;
};

// 2: position, how the segment towards it is travelled (0 straight, 1 along a Hermite curve)
// and the stored tangent values, of which the first two are the tangent.
struct PositionValue {
  Vec2 position;
  uint8_t path_mode = 0;
  std::vector<FloatEntry> tangent_values;  // further values are kept but have no use

  Vec2 Tangent() const {
    return {tangent_values.size() > 0 ? tangent_values[0].value : 0.0f,
            tangent_values.size() > 1 ? tangent_values[1].value : 0.0f};
  }

  template <class V>
  void Visit(V& v) {
    v.Float("x", position.x);
    v.Float("y", position.y);
    v.Byte("path_mode", path_mode);
    VisitByteCountedList(v, "tangent_count", "tangent_values", tangent_values);
  }
  friend bool operator==(const PositionValue&, const PositionValue&) = default;
};

// 3: rotation in radians, the direction in which it turns (0 the short way, 1 decreasing,
// 2 increasing, 3 facing along the path) and extra whole turns.
struct AngleValue {
  float angle = 0.0f;
  uint8_t direction_mode = 0;
  int16_t extra_turns = 0;

  template <class V>
  void Visit(V& v) {
    v.Float("angle", angle);
    v.Byte("direction_mode", direction_mode);
    v.Short("extra_turns", extra_turns);
  }
  friend bool operator==(const AngleValue&, const AngleValue&) = default;
};

// 4: scale.
struct ScaleValue {
  Vec2 scale{1.0f, 1.0f};

  template <class V>
  void Visit(V& v) {
    v.Float("x", scale.x);
    v.Float("y", scale.y);
  }
  friend bool operator==(const ScaleValue&, const ScaleValue&) = default;
};

// 5: pivot of rotation and scale.
struct PivotValue {
  Vec2 pivot;

  template <class V>
  void Visit(V& v) {
    v.Float("x", pivot.x);
    v.Float("y", pivot.y);
  }
  friend bool operator==(const PivotValue&, const PivotValue&) = default;
};

// 6: mask threshold, used when the node writes a mask.
struct MaskThresholdValue {
  int32_t threshold = 255;

  template <class V>
  void Visit(V& v) {
    v.Int("threshold", threshold);
  }
  friend bool operator==(const MaskThresholdValue&, const MaskThresholdValue&) = default;
};

// 7: colour.
struct ColourValue {
  Colour colour;

  template <class V>
  void Visit(V& v) {
    v.Byte("red", colour.red);
    v.Byte("green", colour.green);
    v.Byte("blue", colour.blue);
    v.Byte("alpha", colour.alpha);
  }
  friend bool operator==(const ColourValue&, const ColourValue&) = default;
};

// A resource identifier inside a list.
struct ResourceIdEntry {
  int16_t id = -1;

  template <class V>
  void Visit(V& v) {
    v.Short("id", id);
  }
  friend bool operator==(const ResourceIdEntry&, const ResourceIdEntry&) = default;
};

// 8 (scene roots only): the label to jump to when the listed resources (or, with check_all,
// all nested documents) are loaded, and the one to jump to otherwise.
struct OnLoadJumpValue {
  int16_t label_loaded = -1;
  int16_t label_otherwise = -1;
  Flag check_all;
  CountedList<ResourceIdEntry> resources;

  template <class V>
  void Visit(V& v) {
    v.Short("label_loaded", label_loaded);
    v.Short("label_otherwise", label_otherwise);
    v.Flag("check_all", check_all);
    v.List("resources", resources);
  }
  friend bool operator==(const OnLoadJumpValue& a, const OnLoadJumpValue& b) {
    return a.label_loaded == b.label_loaded && a.label_otherwise == b.label_otherwise &&
           a.check_all == b.check_all && a.resources.stored_count == b.resources.stored_count &&
           a.resources.items == b.resources.items;
  }
};

}  // namespace cva
