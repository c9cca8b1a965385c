#pragma once

#include <cstdint>
#include <vector>

namespace cva {

// Vertical metrics of a font at its pixel size.
struct FontMetrics {
  int32_t ascent = 0;  // pixels from the top of a cell to the baseline
  int32_t height = 0;  // cell height: ascent plus descent
};

// One rasterized character: its black box (the inked pixels) as grey levels 0 to 64, one byte
// per pixel in rows of `box_width` from the top, and where the box lies relative to the pen
// position on the baseline (x to the right, y upwards to the box's top row).
struct GlyphBitmap {
  int32_t origin_x = 0;
  int32_t origin_y = 0;
  uint32_t box_width = 0;
  uint32_t box_height = 0;
  std::vector<uint8_t> grey;  // empty for a character without ink (a space)
};

// A font at one size from which glyph pages are filled.
class GlyphFont {
 public:
  virtual ~GlyphFont() = default;
  virtual FontMetrics Metrics() const = 0;
  // Rasterizes the UTF-16 code unit `code`. Returns false when nothing can be produced.
  virtual bool Render(char16_t code, GlyphBitmap& out) = 0;
};

}  // namespace cva
