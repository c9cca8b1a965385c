#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "render/colour.h"
#include "render/draw_state.h"
#include "render/matrix.h"
#include "render/vec2.h"

namespace cva {

// One entry of what a recording provider saw drawn, in call order.
struct DrawRecord {
  enum class Kind : uint8_t {
    kSolidQuad,    // SolidQuad::Draw
    kSprite,       // Sprite::Draw
    kSpritePlain,  // Sprite::DrawPlain (identity texture transform)
    kMesh,         // MeshPrimitive::Draw
    kGlyph,        // GlyphEntry::Draw
    kApplyState,   // DrawState::Apply, with the render states it set
    kBeginMask,    // ResourceProvider::BeginMask, with its matrix and extent
    kEndMask,      // ResourceProvider::EndMask
  };

  DrawRecord() = default;
  // A draw (the fields particular to its kind keep their defaults). Made in place, without
  // first clearing the whole record.
  DrawRecord(Kind kind, int32_t primitive, const Matrix4& world, Colour colour)
      : kind(kind), primitive(primitive), world(world), colour(colour) {}

  Kind kind = Kind::kSolidQuad;
  // Serial number of the primitive that drew (in creation order from 0), -1 for the others.
  int32_t primitive = -1;
  // The world matrix of a draw, the outline matrix of kBeginMask.
  Matrix4 world = Matrix4::Identity();
  Colour colour;
  // The texture transform of a textured draw (identity for the others).
  Matrix4 texture = Matrix4::Identity();
  // The extent of kBeginMask.
  Vec2 extent;
  // The render states of kApplyState, in the order they were set.
  std::vector<std::pair<RenderState, uint32_t>> states;

  bool IsDraw() const { return kind <= Kind::kGlyph; }
};

}  // namespace cva
