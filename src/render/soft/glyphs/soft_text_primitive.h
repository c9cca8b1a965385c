#pragma once

#include <memory>

#include "render/glyphs/atlas_glyph.h"
#include "render/glyphs/glyph_atlas.h"
#include "render/glyphs/glyph_page_upload.h"
#include "render/primitives.h"
#include "render/soft/soft_texture.h"

namespace cva {

class SoftProvider;

// The software renderer's text primitive: a glyph atlas filled with FreeType, whose pages
// become SoftTextures and whose glyphs draw as the primitive's sprite does on the reference
// renderer. The sprite is a unit quad with uv offset (1, 1) whose texture is the glyph's page:
// a glyph is drawn with the world transform scale(cell) x world and the texture transform
// scale(cell) x shift(texel origin), so that wrap addressing samples exactly the cell's texels.
class SoftTextPrimitive final : public TextPrimitive,
                                private GlyphPageUpload,
                                private GlyphPainter {
 public:
  explicit SoftTextPrimitive(SoftProvider& provider,
                             GlyphAtlas::FontOpener opener = &OpenSystemFontOpener);
  ~SoftTextPrimitive() override;

  int32_t RegisterFont(const EncodedText& face, int32_t point_size, bool bold) override;
  GlyphEntry* GetGlyph(int32_t font, int32_t encoding, uint16_t code) override;
  void Flush() override;

  const GlyphAtlas& atlas() const { return atlas_; }

  // The texture of a glyph's page, nullptr until the page is uploaded. The glyph must come
  // from a SoftTextPrimitive.
  static const SoftTexture* PageTexture(const AtlasGlyph& glyph);

  // The default opener: fonts resolved by fontconfig and rasterized with FreeType.
  static std::unique_ptr<GlyphFont> OpenSystemFontOpener(const EncodedText& face, int32_t size,
                                                         bool bold);

 private:
  std::unique_ptr<GlyphPageTexture> Upload(const RgbaBitmap& page) override;
  void DrawGlyph(const AtlasGlyph& glyph, const Transform& world, Colour colour) override;

  SoftProvider& provider_;
  GlyphAtlas atlas_;
};

// Makes `provider` create SoftTextPrimitives for the text it draws.
void UseSoftGlyphs(SoftProvider& provider);

}  // namespace cva
