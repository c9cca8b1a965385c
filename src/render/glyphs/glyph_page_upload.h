#pragma once

#include <memory>

#include "render/image/rgba_bitmap.h"

namespace cva {

// A full glyph page as a backend's texture. Glyphs on the page point to it; only the backend
// that made it draws with it, so it alone knows its kind.
class GlyphPageTexture {
 public:
  virtual ~GlyphPageTexture() = default;
};

// Makes page textures for a glyph atlas: the seam between the portable atlas, which fills
// pages in memory, and the graphics backend that draws them.
class GlyphPageUpload {
 public:
  virtual ~GlyphPageUpload() = default;
  // The texture of `page`: PagePacker::kPageSide texels square, cleared texels all 0, glyph
  // boxes white with their coverage as alpha. Nullptr when no texture can be made; the page's
  // glyphs then draw untextured.
  virtual std::unique_ptr<GlyphPageTexture> Upload(const RgbaBitmap& page) = 0;
};

}  // namespace cva
