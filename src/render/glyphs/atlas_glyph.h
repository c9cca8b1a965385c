#pragma once

#include <cstdint>

#include "render/glyphs/glyph_page_upload.h"
#include "render/glyphs/page_packer.h"
#include "render/primitives.h"

namespace cva {

class AtlasGlyph;

// Draws glyphs with the texels of their page (the text primitive that owns the atlas).
class GlyphPainter {
 public:
  virtual ~GlyphPainter() = default;
  virtual void DrawGlyph(const AtlasGlyph& glyph, const Transform& world, Colour colour) = 0;
};

// One rasterized character of a glyph atlas: where its cell lies on its page and how large it
// is. The page is none until the page holding the glyph has been uploaded; the glyph then
// draws untextured.
class AtlasGlyph final : public GlyphEntry {
 public:
  AtlasGlyph(GlyphPainter* painter, Vec2 texel_origin, Vec2 cell)
      : painter_(painter), texel_origin_(texel_origin), cell_(cell) {}

  Vec2 Size() const override { return cell_; }
  void Draw(const Transform& world, Colour colour) override {
    if (painter_) painter_->DrawGlyph(*this, world, colour);
  }

  // The cell's top-left corner in page units (pixels / 256).
  Vec2 texel_origin() const { return texel_origin_; }
  const GlyphPageTexture* page() const { return page_; }
  // The page's side in texels: 0 until the page is uploaded.
  int32_t page_size() const { return page_ ? PagePacker::kPageSide : 0; }
  void set_page(const GlyphPageTexture* page) { page_ = page; }

 private:
  GlyphPainter* painter_;
  Vec2 texel_origin_;
  Vec2 cell_;
  const GlyphPageTexture* page_ = nullptr;
};

}  // namespace cva
