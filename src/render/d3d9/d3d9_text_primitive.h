#pragma once

#include <memory>

#include "render/d3d9/d3d9_primitives.h"
#include "render/d3d9/render_device.h"
#include "render/glyphs/atlas_glyph.h"
#include "render/glyphs/glyph_atlas.h"
#include "render/glyphs/glyph_page_upload.h"
#include "render/primitives.h"

namespace cva {

// The Direct3D 9 backend's text primitive: a glyph atlas filled with GDI fonts, whose pages
// become 256 x 256 managed A8R8G8B8 textures and whose glyphs draw through the primitive's
// sprite. The sprite is a unit quad with uv offset (1, 1) whose texture is the glyph's page: a
// glyph is drawn with the world transform scale(cell) x world and the texture transform
// scale(cell) x shift(texel origin), so that wrap addressing samples exactly the cell's texels.
class D3d9TextPrimitive final : public TextPrimitive,
                                private GlyphPageUpload,
                                private GlyphPainter {
 public:
  explicit D3d9TextPrimitive(RenderDevice& device,
                             GlyphAtlas::FontOpener opener = &OpenGdiFontOpener);
  ~D3d9TextPrimitive() override;

  int32_t RegisterFont(const EncodedText& face, int32_t point_size, bool bold) override;
  GlyphEntry* GetGlyph(int32_t font, int32_t encoding, uint16_t code) override;
  void Flush() override;

  const GlyphAtlas& atlas() const { return atlas_; }
  // The texture of a glyph's page, nullptr until the page is uploaded (or when it could not
  // be made). The glyph must come from a D3d9TextPrimitive.
  static IDirect3DTexture9* PageTexture(const AtlasGlyph& glyph);

  // The default opener: GDI fonts (GdiFont::Open).
  static std::unique_ptr<GlyphFont> OpenGdiFontOpener(const EncodedText& face, int32_t size,
                                                      bool bold);

 private:
  std::unique_ptr<GlyphPageTexture> Upload(const RgbaBitmap& page) override;
  void DrawGlyph(const AtlasGlyph& glyph, const Transform& world, Colour colour) override;

  RenderDevice& device_;
  D3d9Sprite sprite_;
  GlyphAtlas atlas_;
};

}  // namespace cva
