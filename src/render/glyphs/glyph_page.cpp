#include "render/glyphs/glyph_page.h"

#include <algorithm>

#include "render/glyphs/grey_levels.h"

namespace cva {

void WriteGlyph(RgbaBitmap& page, int32_t x, int32_t y, int32_t ascent, const GlyphBitmap& glyph) {
  const uint64_t box_w = glyph.box_width;
  const uint64_t box_h = glyph.box_height;
  if (glyph.grey.size() < box_w * box_h) return;  // no ink (or an inconsistent bitmap)
  const int64_t top = int64_t{y} + ascent - glyph.origin_y;
  // The rows and columns of the box that land inside the page.
  const int64_t first_row = std::max<int64_t>(0, -top);
  const int64_t end_row = std::min<int64_t>(static_cast<int64_t>(box_h), page.height() - top);
  const int64_t first_col = std::max<int64_t>(0, -int64_t{x});
  const int64_t end_col = std::min<int64_t>(static_cast<int64_t>(box_w), page.width() - int64_t{x});
  for (int64_t r = first_row; r < end_row; ++r) {
    const uint8_t* source = &glyph.grey[static_cast<size_t>(r) * box_w];
    for (int64_t i = first_col; i < end_col; ++i) {
      const uint8_t grey = std::min<uint8_t>(source[i], kMaxGreyLevel);
      page.Set(static_cast<int32_t>(x + i), static_cast<int32_t>(top + r),
               Texel{255, 255, 255, GreyToAlpha(grey)});
    }
  }
}

}  // namespace cva
