#pragma once

#include <cstdint>

#include "render/glyphs/glyph_font.h"
#include "render/image/rgba_bitmap.h"

namespace cva {

// Writes a glyph's black box into a page whose cell has its top-left corner at (x, y): the box
// is placed at the cell's left edge with its top row `ascent - origin_y` rows below the cell's
// top, every pixel as white with the alpha of its grey level. Pixels that would fall outside
// the page are dropped, so a cell larger than the page, or a box reaching above or left of its
// cell, never writes beyond the page's texels.
void WriteGlyph(RgbaBitmap& page, int32_t x, int32_t y, int32_t ascent, const GlyphBitmap& glyph);

}  // namespace cva
