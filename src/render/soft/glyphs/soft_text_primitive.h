#pragma once

#include <memory>

#include "render/primitives.h"
#include "render/soft/glyphs/glyph_atlas.h"
#include "render/soft/glyphs/soft_glyph.h"

namespace cva {

class SoftProvider;

// The software renderer's text primitive: a glyph atlas filled with FreeType, whose glyphs
// draw as the primitive's sprite does on the reference renderer. The sprite is a unit quad
// with uv offset (1, 1) whose texture is the glyph's page: a glyph is drawn with the world
// transform scale(cell) x world and the texture transform scale(cell) x shift(texel origin),
// so that wrap addressing samples exactly the cell's texels.
class SoftTextPrimitive final : public TextPrimitive, private GlyphPainter {
 public:
  explicit SoftTextPrimitive(SoftProvider& provider,
                             GlyphAtlas::FontOpener opener = &OpenSystemFontOpener);
  ~SoftTextPrimitive() override;

  int32_t RegisterFont(const EncodedText& face, int32_t point_size, bool bold) override;
  GlyphEntry* GetGlyph(int32_t font, int32_t encoding, uint16_t code) override;
  void Flush() override;

  const GlyphAtlas& atlas() const { return atlas_; }

  // The default opener: fonts resolved by fontconfig and rasterized with FreeType.
  static std::unique_ptr<GlyphFont> OpenSystemFontOpener(const EncodedText& face, int32_t size,
                                                         bool bold);

 private:
  void DrawGlyph(const SoftGlyph& glyph, const Transform& world, Colour colour) override;

  SoftProvider& provider_;
  GlyphAtlas atlas_;
};

// Makes `provider` create SoftTextPrimitives for the text it draws.
void UseSoftGlyphs(SoftProvider& provider);

}  // namespace cva
