#pragma once

// Drawing objects that draw nothing, for loading documents where nothing is shown. Every
// operation is a virtual default, so a test can derive and record only what it looks at.

#include "render/primitives.h"

namespace cva {

class InertTransform : public Transform {
 public:
  void SetScale(Vec2) override {}
  void SetScale(float, float) override {}
  void SetTranslation(Vec2) override {}
  void SetTranslation(float, float) override {}
  void SetRotation(float) override {}
  void SetTexOffset(Vec2) override {}
  void SetTexOffset(float, float) override {}
  void PreMultiply(const Transform&) override {}
  void PostMultiply(const Transform&) override {}
  Vec2 TransformPoint(Vec2) const override { return {}; }
  void CopyFrom(const Transform&) override {}
  void Invert() override {}
  void SetIdentity() override {}
};

class InertSolidQuad : public SolidQuad {
 public:
  void SetSize(Vec2) override {}
  void Draw(const Transform&, Colour) override {}
};

class InertSprite : public Sprite {
 public:
  void SetImage(ImageResource*) override {}
  void SetSize(Vec2) override {}
  void SetUvOffset(Vec2) override {}
  void Draw(const Transform&, Colour, const Transform&) override {}
  void DrawPlain(const Transform&, Colour) override {}
};

class InertMesh : public MeshPrimitive {
 public:
  void SetImage(ImageResource*) override {}
  void LockVertices() override {}
  void UnlockVertices() override {}
  void SetPosition(int32_t, Vec2) override {}
  void SetUv(int32_t, Vec2) override {}
  void SetIndices(std::span<const uint16_t>) override {}
  void Draw(const Transform&, Colour, const Transform&) override {}
  void ReleaseBuffers() override {}
};

class InertGlyph final : public GlyphEntry {
 public:
  Vec2 Size() const override { return {}; }
  void Draw(const Transform&, Colour) override {}
};

// Every character maps to one empty glyph.
class InertTextPrimitive final : public TextPrimitive {
 public:
  int32_t RegisterFont(const EncodedText&, int32_t, bool) override { return 0; }
  GlyphEntry* GetGlyph(int32_t, int32_t, uint16_t) override { return &glyph_; }
  void Flush() override {}

 private:
  InertGlyph glyph_;
};

}  // namespace cva
