#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "render/glyphs/glyph_font.h"
#include "stream/encoded_text.h"

namespace cva {

// A GDI font at one size, selected into a memory device context of its own while it renders:
// glyphs come from GetGlyphOutlineW as 8-bit grey bitmaps (levels 0 to 64), metrics from
// GetTextMetricsW.
class GdiFont final : public GlyphFont {
 public:
  // The font of a face name (UTF-16 or Shift-JIS) at a point size: height -MulDiv(point
  // size, the screen's LOGPIXELSY, 72), weight 600 when bold and 400 otherwise, antialiased,
  // default character set. Shift-JIS names are converted from code page 932 and opened with
  // the wide call, so they name the same face whatever the system's code page. Nullptr for a
  // name in another encoding or when GDI makes no font.
  static std::unique_ptr<GlyphFont> Open(const EncodedText& face, int32_t point_size, bool bold);

  ~GdiFont() override;
  GdiFont(const GdiFont&) = delete;
  GdiFont& operator=(const GdiFont&) = delete;

  FontMetrics Metrics() const override { return metrics_; }
  bool Render(char16_t code, GlyphBitmap& out) override;

 private:
  GdiFont(HFONT font, HDC dc);

  HFONT font_;
  HDC dc_;
  FontMetrics metrics_;
};

}  // namespace cva
