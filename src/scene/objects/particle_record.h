#pragma once

// The stored record of a particle emitter (type 11) and its particle configuration. The
// meaning of most configuration fields is not fixed; they are kept as stored.

#include <cstdint>

#include "render/colour.h"
#include "render/vec2.h"
#include "scene/ease_point.h"
#include "scene/objects/record_helpers.h"
#include "stream/record_fields.h"

namespace cva {

struct ParticleConfigRecord {
  Colour colour_a;
  Colour colour_b;
  float float_a = 0.0f;
  float float_b = 0.0f;
  float float_c = 0.0f;
  Vec2 vec_a;
  Vec2 vec_b;
  float float_d = 0.0f;
  Vec2 vec_c;
  Vec2 vec_d;
  int32_t int_a = 0;
  int32_t int_b = 0;
  int32_t int_c = 0;
  // Four easing curves; unlike a keyframe's, their counts are 32-bit.
  IntCountedList<EasePointRecord> ease_a;
  IntCountedList<EasePointRecord> ease_b;
  IntCountedList<EasePointRecord> ease_c;
  IntCountedList<EasePointRecord> ease_d;

  template <class V>
  void Visit(V& v) {
    VisitColour(v, "colour_a", colour_a);
    VisitColour(v, "colour_b", colour_b);
    v.Float("float_a", float_a);
    v.Float("float_b", float_b);
    v.Float("float_c", float_c);
    VisitVec2(v, "vec_a", vec_a);
    VisitVec2(v, "vec_b", vec_b);
    v.Float("float_d", float_d);
    VisitVec2(v, "vec_c", vec_c);
    VisitVec2(v, "vec_d", vec_d);
    v.Int("int_a", int_a);
    v.Int("int_b", int_b);
    v.Int("int_c", int_c);
    VisitIntCountedList(v, "ease_a_count", "ease_a", ease_a);
    VisitIntCountedList(v, "ease_b_count", "ease_b", ease_b);
    VisitIntCountedList(v, "ease_c_count", "ease_c", ease_c);
    VisitIntCountedList(v, "ease_d_count", "ease_d", ease_d);
  }
  friend bool operator==(const ParticleConfigRecord&, const ParticleConfigRecord&) = default;
};

// Type 11: randomised particles drawn with one sprite.
struct ParticleRecord {
  int16_t id = -1;
  Vec2 size;           // given to the sprite
  Vec2 uv_offset;      // given to the sprite
  int16_t image = -1;  // resource id
  Colour colour;
  ParticleConfigRecord config;

  template <class V>
  void Visit(V& v) {
    v.Short("id", id);
    VisitVec2(v, "size", size);
    VisitVec2(v, "uv_offset", uv_offset);
    v.Short("image", image);
    VisitColour(v, "colour", colour);
    v.Record("config", config);
  }
  friend bool operator==(const ParticleRecord&, const ParticleRecord&) = default;
};

}  // namespace cva
