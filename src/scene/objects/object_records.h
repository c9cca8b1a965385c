#pragma once

// The stored records of the scene object types with flat layouts. Every record begins with
// the object's 16-bit id; the defaults are those an object has before its record is read.
// Meshes (type 8) and particles (type 11) have records of their own files.

#include <array>
#include <cstdint>

#include "render/colour.h"
#include "render/vec2.h"
#include "scene/objects/record_helpers.h"
#include "scene/text/text_record.h"
#include "stream/record_fields.h"

namespace cva {

// Type 1: an untextured rectangle.
struct RectRecord {
  int16_t id = -1;
  Vec2 size{10.0f, 10.0f};
  Colour colour;

  template <class V>
  void Visit(V& v) {
    v.Short("id", id);
    VisitVec2(v, "size", size);
    VisitColour(v, "colour", colour);
  }
  friend bool operator==(const RectRecord&, const RectRecord&) = default;
};

// Type 2: an image resource drawn as a textured quad.
struct ImageRecord {
  int16_t id = -1;
  Vec2 size{10.0f, 10.0f};
  Vec2 texture_origin;  // offset into the texture, in fractions of its size
  int16_t image = -1;   // resource id
  Colour colour;

  template <class V>
  void Visit(V& v) {
    v.Short("id", id);
    VisitVec2(v, "size", size);
    VisitVec2(v, "texture_origin", texture_origin);
    v.Short("image", image);
    VisitColour(v, "colour", colour);
  }
  friend bool operator==(const ImageRecord&, const ImageRecord&) = default;
};

// Type 3: another document's scene shown inside a node.
struct EmbeddedSceneRecord {
  int16_t id = -1;
  Colour colour{0, 0, 0, 255};
  int16_t document = -1;  // resource id of a nested document

  template <class V>
  void Visit(V& v) {
    v.Short("id", id);
    VisitColour(v, "colour", colour);
    v.Short("document", document);
  }
  friend bool operator==(const EmbeddedSceneRecord&, const EmbeddedSceneRecord&) = default;
};

// Type 4: a sound played by the node.
struct SoundRecord {
  int16_t id = -1;
  int16_t sound = -1;  // resource id of a sound
  float start = 0.0f;
  float length = 0.0f;  // negative: play to the end

  template <class V>
  void Visit(V& v) {
    v.Short("id", id);
    v.Short("sound", sound);
    v.Float("start", start);
    v.Float("length", length);
  }
  friend bool operator==(const SoundRecord&, const SoundRecord&) = default;
};

// Type 5: laid-out rich text.
struct TextObjectRecord {
  int16_t id = -1;
  Colour colour;
  TextRecord text;

  template <class V>
  void Visit(V& v) {
    v.Short("id", id);
    VisitColour(v, "colour", colour);
    v.Record("text", text);
  }
};

// Type 6: an integer shown with image glyphs.
struct NumberRecord {
  static constexpr int kGlyphCount = 12;
  static constexpr int kSeparatorGlyph = 10;
  static constexpr int kMinusGlyph = 11;

  int16_t id = -1;
  Colour colour;
  float value = 0.0f;  // kept; no use in the player
  // Image object ids of the digits 0 to 9, the group separator and the minus sign.
  std::array<int16_t, kGlyphCount> glyphs{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};

  template <class V>
  void Visit(V& v) {
    static constexpr const char* kKeys[kGlyphCount] = {
        "glyph_0", "glyph_1", "glyph_2", "glyph_3", "glyph_4",         "glyph_5",
        "glyph_6", "glyph_7", "glyph_8", "glyph_9", "glyph_separator", "glyph_minus"};
    v.Short("id", id);
    VisitColour(v, "colour", colour);
    v.Float("value", value);
    for (int i = 0; i < kGlyphCount; ++i) v.Short(kKeys[i], glyphs[i]);
  }
  friend bool operator==(const NumberRecord&, const NumberRecord&) = default;
};

// Type 7: a nine-part panel.
struct PanelRecord {
  int16_t id = -1;
  Vec2 vec_a;
  Vec2 vec_b;
  Vec2 vec_c;
  Vec2 vec_d;
  int16_t image = -1;  // resource id; -1 draws untextured
  Colour colour;

  template <class V>
  void Visit(V& v) {
    v.Short("id", id);
    VisitVec2(v, "vec_a", vec_a);
    VisitVec2(v, "vec_b", vec_b);
    VisitVec2(v, "vec_c", vec_c);
    VisitVec2(v, "vec_d", vec_d);
    v.Short("image", image);
    VisitColour(v, "colour", colour);
  }
  friend bool operator==(const PanelRecord&, const PanelRecord&) = default;
};

// Type 9: an invisible joint that meshes link into trees.
struct JointRecord {
  int16_t id = -1;
  int32_t value = 0;
  Vec2 size;
  Vec2 vec_b;

  template <class V>
  void Visit(V& v) {
    v.Short("id", id);
    v.Int("value", value);
    VisitVec2(v, "size", size);
    VisitVec2(v, "vec_b", vec_b);
  }
  friend bool operator==(const JointRecord&, const JointRecord&) = default;
};

// Type 10: an image drawn as a grid warped by four corner properties.
struct WarpImageRecord {
  int16_t id = -1;
  int16_t image = -1;  // resource id
  Vec2 vec_a;
  int32_t columns = 0;
  int32_t rows = 0;
  Colour colour;
  Vec2 vec_b;
  Vec2 vec_c;

  template <class V>
  void Visit(V& v) {
    v.Short("id", id);
    v.Short("image", image);
    VisitVec2(v, "vec_a", vec_a);
    v.Int("columns", columns);
    v.Int("rows", rows);
    VisitColour(v, "colour", colour);
    VisitVec2(v, "vec_b", vec_b);
    VisitVec2(v, "vec_c", vec_c);
  }
  friend bool operator==(const WarpImageRecord&, const WarpImageRecord&) = default;
};

}  // namespace cva
