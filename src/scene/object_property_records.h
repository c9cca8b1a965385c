#pragma once

// Stored forms of the properties that instances add to their node (9 to 25), by object type.
// Each struct holds its defaults and describes its record once.

#include <cstdint>

#include "render/vec2.h"
#include "scene/node_property_records.h"
#include "stream/record_fields.h"

namespace cva {

// A single 32-bit integer: 9 image swap (the id of the scene object shown instead of the
// instance's own, -1 its own), 13 the number shown, 18 sound volume, 19 sound pan.
template <int32_t kDefault>
struct IntegerValue {
  int32_t value = kDefault;

  template <class V>
  void Visit(V& v) {
    v.Int("value", value);
  }
  friend bool operator==(const IntegerValue&, const IntegerValue&) = default;
};
using ImageSwapValue = IntegerValue<0>;
using NumberValue = IntegerValue<0>;
using VolumeValue = IntegerValue<1000>;  // 1000 is full volume
using PanValue = IntegerValue<0>;

// 10: hit mode (2 tests the pointer against the image's pixels) and a second code; merged.
struct HitCodesValue {
  uint8_t hit_mode = 0;
  uint8_t code_2 = 0;

  template <class V>
  void Visit(V& v) {
    v.Byte("hit_mode", hit_mode);
    v.Byte("code_2", code_2);
  }
  void MergeFrom(const HitCodesValue& other) {
    MergeCode(hit_mode, other.hit_mode);
    MergeCode(code_2, other.code_2);
  }
  friend bool operator==(const HitCodesValue&, const HitCodesValue&) = default;
};

// 11: texture offset.
struct TexOffsetValue {
  Vec2 offset;

  template <class V>
  void Visit(V& v) {
    v.Float("x", offset.x);
    v.Float("y", offset.y);
  }
  friend bool operator==(const TexOffsetValue&, const TexOffsetValue&) = default;
};

// 12: how often the texture repeats down and across, each direction optionally mirrored on
// every other repeat.
struct TexRepeatValue {
  Flag mirror_y;
  int16_t count_y = 1;
  Flag mirror_x;
  int16_t count_x = 1;

  template <class V>
  void Visit(V& v) {
    v.Flag("mirror_y", mirror_y);
    v.Short("count_y", count_y);
    v.Flag("mirror_x", mirror_x);
    v.Short("count_x", count_x);
  }
  friend bool operator==(const TexRepeatValue&, const TexRepeatValue&) = default;
};

// 14: the format of a number object (codes for separators, minus sign, zero padding and digit
// count, then four numbers, among them the advances of separators and digits). The codes merge.
struct NumberFormatValue {
  uint8_t codes[5] = {0, 2, 2, 2, 2};
  int16_t numbers[4] = {5, 0, 0, 0};

  template <class V>
  void Visit(V& v) {
    static constexpr const char* kCodeKeys[5] = {"code_1", "code_2", "code_3", "code_4", "code_5"};
    static constexpr const char* kNumberKeys[4] = {"number_1", "number_2", "number_3", "number_4"};
    for (int i = 0; i < 5; ++i) v.Byte(kCodeKeys[i], codes[i]);
    for (int i = 0; i < 4; ++i) v.Short(kNumberKeys[i], numbers[i]);
  }
  void MergeFrom(const NumberFormatValue& other) {
    for (int i = 0; i < 5; ++i) MergeCode(codes[i], other.codes[i]);
    for (int i = 0; i < 4; ++i) numbers[i] = other.numbers[i];
  }
  friend bool operator==(const NumberFormatValue&, const NumberFormatValue&) = default;
};

// 15: the label name at which an embedded scene restarts.
struct SceneLabelValue {
  StoredText label;

  template <class V>
  void Visit(V& v) {
    v.Text("label", label);
  }
  friend bool operator==(const SceneLabelValue&, const SceneLabelValue&) = default;
};

// A single byte: 16 embedded scene load control (0 load, 1 unload).
struct ByteValue {
  uint8_t value = 0;

  template <class V>
  void Visit(V& v) {
    v.Byte("value", value);
  }
  friend bool operator==(const ByteValue&, const ByteValue&) = default;
};
using SceneLoadValue = ByteValue;

// 17: the paragraph a text object reveals, and a code.
struct ParagraphValue {
  int16_t paragraph = 0;
  uint8_t code = 1;

  template <class V>
  void Visit(V& v) {
    v.Short("paragraph", paragraph);
    v.Byte("code", code);
  }
  friend bool operator==(const ParagraphValue&, const ParagraphValue&) = default;
};

// 20: sound command (1 play once, 2 play looping, 3 stop); merged, so 0 leaves it as it was.
struct SoundCommandValue {
  uint8_t command = 0;

  template <class V>
  void Visit(V& v) {
    v.Byte("command", command);
  }
  void MergeFrom(const SoundCommandValue& other) { MergeCode(command, other.command); }
  friend bool operator==(const SoundCommandValue&, const SoundCommandValue&) = default;
};

// 21 to 24: one corner of a warped image with its row and column tangents.
struct CornerValue {
  Vec2 position;
  Vec2 row_tangent;
  Vec2 column_tangent;

  template <class V>
  void Visit(V& v) {
    v.Float("x", position.x);
    v.Float("y", position.y);
    v.Float("row_tangent_x", row_tangent.x);
    v.Float("row_tangent_y", row_tangent.y);
    v.Float("column_tangent_x", column_tangent.x);
    v.Float("column_tangent_y", column_tangent.y);
  }
  friend bool operator==(const CornerValue&, const CornerValue&) = default;
};

// 25: the particle settings of a particle object. The third stored code byte belongs to the
// fourth code and the fourth byte to the third. The codes merge.
struct ParticleValue {
  float float_1 = 1.0f;
  int32_t int_1 = 0;
  uint8_t codes[5] = {1, 1, 2, 1, 2};
  Vec2 vec_1;
  float float_2 = 1.0f;
  float float_3 = 0.0f;
  Vec2 vec_2;
  float float_4 = 1.0f;
  float float_5 = 0.0f;

  template <class V>
  void Visit(V& v) {
    v.Float("float_1", float_1);
    v.Int("int_1", int_1);
    v.Byte("code_1", codes[0]);
    v.Byte("code_2", codes[1]);
    v.Byte("code_4", codes[3]);
    v.Byte("code_3", codes[2]);
    v.Byte("code_5", codes[4]);
    v.Float("vec_1_x", vec_1.x);
    v.Float("vec_1_y", vec_1.y);
    v.Float("float_2", float_2);
    v.Float("float_3", float_3);
    v.Float("vec_2_x", vec_2.x);
    v.Float("vec_2_y", vec_2.y);
    v.Float("float_4", float_4);
    v.Float("float_5", float_5);
  }
  void MergeFrom(const ParticleValue& other) {
    ParticleValue merged = other;
    for (int i = 0; i < 5; ++i) merged.codes[i] = other.codes[i] != 0 ? other.codes[i] : codes[i];
    *this = merged;
  }
  friend bool operator==(const ParticleValue&, const ParticleValue&) = default;
};

}  // namespace cva
