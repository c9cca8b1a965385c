#pragma once

#include <cstdint>

#include "render/primitives.h"
#include "render/soft/soft_texture.h"

namespace cva {

class SoftGlyph;

// Draws glyphs with the texels of their page (the text primitive that owns the atlas).
class GlyphPainter {
 public:
  virtual ~GlyphPainter() = default;
  virtual void DrawGlyph(const SoftGlyph& glyph, const Transform& world, Colour colour) = 0;
};

// One rasterized character: where its cell lies on its page and how large it is. The page is
// none until the page holding the glyph has been flushed; the glyph then draws untextured.
class SoftGlyph final : public GlyphEntry {
 public:
  SoftGlyph(GlyphPainter* painter, Vec2 texel_origin, Vec2 cell)
      : painter_(painter), texel_origin_(texel_origin), cell_(cell) {}

  Vec2 Size() const override { return cell_; }
  void Draw(const Transform& world, Colour colour) override {
    if (painter_) painter_->DrawGlyph(*this, world, colour);
  }

  // The cell's top-left corner in page units (pixels / 256).
  Vec2 texel_origin() const { return texel_origin_; }
  const SoftTexture* page() const { return page_; }
  // The page's side in texels: 0 until the page is flushed.
  int32_t page_size() const { return page_ ? page_->width() : 0; }
  void set_page(const SoftTexture* page) { page_ = page; }

 private:
  GlyphPainter* painter_;
  Vec2 texel_origin_;
  Vec2 cell_;
  const SoftTexture* page_ = nullptr;
};

}  // namespace cva
