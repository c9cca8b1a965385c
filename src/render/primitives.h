#pragma once

// The drawing objects the scene asks the ResourceProvider for. The scene configures them once
// and draws them every frame with a world transform and a colour; it never talks to the
// graphics device itself. Operations are listed in their fixed order.

#include <cstdint>
#include <span>

#include "render/colour.h"
#include "render/vec2.h"
#include "stream/encoded_text.h"

namespace cva {

class ImageResource;

// A 4x4 matrix in the row-vector convention: a point is multiplied on the left, so applying A
// first and then B is A x B. Every setter overwrites the whole matrix; composition goes
// through PreMultiply and PostMultiply only.
class Transform {
 public:
  virtual ~Transform() = default;
  virtual void SetScale(Vec2 scale) = 0;
  virtual void SetScale(float sx, float sy) = 0;
  virtual void SetTranslation(Vec2 offset) = 0;
  virtual void SetTranslation(float x, float y) = 0;
  virtual void SetRotation(float radians) = 0;  // about the z axis
  virtual void SetTexOffset(Vec2 offset) = 0;
  // Identity with (u, v) in the third row: translates two-component texture coordinates.
  virtual void SetTexOffset(float u, float v) = 0;
  // M = other x M: `other` applies before this transform.
  virtual void PreMultiply(const Transform& other) = 0;
  // M = M x other: `other` applies after this transform.
  virtual void PostMultiply(const Transform& other) = 0;
  virtual Vec2 TransformPoint(Vec2 point) const = 0;
  virtual void CopyFrom(const Transform& other) = 0;
  virtual void Invert() = 0;
  virtual void SetIdentity() = 0;
};

// An untextured quad from its local origin to its size (y downwards).
class SolidQuad {
 public:
  virtual ~SolidQuad() = default;
  virtual void SetSize(Vec2 size) = 0;
  virtual void Draw(const Transform& world, Colour colour) = 0;
};

// A textured quad. The texture and its pixel size come from the image resource, which keeps
// owning the texture.
class Sprite {
 public:
  virtual ~Sprite() = default;
  virtual void SetImage(ImageResource* image) = 0;  // nullptr: no texture, size 0 by 0
  virtual void SetSize(Vec2 size) = 0;
  virtual void SetUvOffset(Vec2 offset) = 0;
  virtual void Draw(const Transform& world, Colour colour, const Transform& texture) = 0;
  virtual void DrawPlain(const Transform& world, Colour colour) = 0;
};

// An indexed triangle list with textured vertices. Positions and texture coordinates are
// written between one LockVertices and one UnlockVertices.
class MeshPrimitive {
 public:
  virtual ~MeshPrimitive() = default;
  virtual void SetImage(ImageResource* image) = 0;
  virtual void LockVertices() = 0;
  virtual void UnlockVertices() = 0;
  virtual void SetPosition(int32_t vertex, Vec2 position) = 0;
  virtual void SetUv(int32_t vertex, Vec2 uv) = 0;
  virtual void SetIndices(std::span<const uint16_t> indices) = 0;
  virtual void Draw(const Transform& world, Colour colour, const Transform& texture) = 0;
  virtual void ReleaseBuffers() = 0;
};

// One rasterized character of a text primitive's glyph pages.
class GlyphEntry {
 public:
  virtual ~GlyphEntry() = default;
  virtual Vec2 Size() const = 0;  // the glyph cell in pixels
  virtual void Draw(const Transform& world, Colour colour) = 0;
};

// Draws text as glyphs rasterized on first use into texture pages.
class TextPrimitive {
 public:
  virtual ~TextPrimitive() = default;
  // Returns the index of the font; an equal face, size and weight reuse an earlier index.
  virtual int32_t RegisterFont(const EncodedText& face, int32_t point_size, bool bold) = 0;
  // The glyph of `code` (a 16-bit character code in the given text encoding), owned by the
  // primitive.
  virtual GlyphEntry* GetGlyph(int32_t font, int32_t encoding, uint16_t code) = 0;
  // Uploads the page being filled so glyphs placed since the last flush draw textured.
  virtual void Flush() = 0;
};

}  // namespace cva
