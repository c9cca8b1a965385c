#include "render/gdi/gdi_font.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "render/glyphs/font_size.h"
#include "render/glyphs/grey_levels.h"
#include "system/text_codec.h"

namespace cva {
namespace {

// The grey bitmap of one glyph is at most an em square of the largest em size, in rows padded
// to four bytes; GDI reporting more than that is not believed.
constexpr DWORD kMaxGlyphBytes = (kMaxEmPixels * 4 + 4) * (kMaxEmPixels * 4);

// Selects a font into a device context for the lifetime of the object.
class Selection {
 public:
  Selection(HDC dc, HFONT font) : dc_(dc), previous_(SelectObject(dc, font)) {}
  ~Selection() { SelectObject(dc_, previous_); }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// The face name as UTF-16, cut to what a LOGFONT holds (LF_FACESIZE units with the zero).
std::wstring FaceName(const EncodedText& face) {
  std::u16string units;
  if (face.encoding() == EncodedText::kUtf16) {
    units = face.Utf16Units();
  } else {
    units = Cp932ToUtf16(face.RawNarrow());
  }
  if (units.size() >= LF_FACESIZE) units.resize(LF_FACESIZE - 1);
  return std::wstring(units.begin(), units.end());
}

// -MulDiv(point size, dots per inch, 72): the character height in pixels at the screen's
// resolution, kept within the largest em size every rasterizer accepts.
int FontHeight(int32_t point_size) {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  const int pixels = MulDiv(point_size, dpi, 72);
  return -std::clamp(pixels, -kMaxEmPixels, kMaxEmPixels);
}

}  // namespace

std::unique_ptr<GlyphFont> GdiFont::Open(const EncodedText& face, int32_t point_size, bool bold) {
  if (face.encoding() != EncodedText::kUtf16 && face.encoding() != EncodedText::kShiftJis)
    return nullptr;
  const std::wstring name = FaceName(face);
  HFONT font = CreateFontW(FontHeight(point_size), 0, 0, 0, bold ? 600 : 400, FALSE, FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           ANTIALIASED_QUALITY, 0, name.c_str());
  if (!font) return nullptr;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  if (screen) ReleaseDC(nullptr, screen);
  if (!dc) {
    DeleteObject(font);
    return nullptr;
  }
  return std::unique_ptr<GlyphFont>(new GdiFont(font, dc));
}

GdiFont::GdiFont(HFONT font, HDC dc) : font_(font), dc_(dc) {
  Selection selected(dc_, font_);
  TEXTMETRICW tm{};
  if (GetTextMetricsW(dc_, &tm)) {
    metrics_.ascent = tm.tmAscent;
    metrics_.height = tm.tmHeight;
  }
}

GdiFont::~GdiFont() {
  DeleteDC(dc_);
  DeleteObject(font_);
}

bool GdiFont::Render(char16_t code, GlyphBitmap& out) {
  out = GlyphBitmap{};
  Selection selected(dc_, font_);
  const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
  GLYPHMETRICS gm{};
  const DWORD size = GetGlyphOutlineW(dc_, code, GGO_GRAY8_BITMAP, &gm, 0, nullptr, &identity);
  if (size == GDI_ERROR || size > kMaxGlyphBytes) return false;
  out.origin_x = gm.gmptGlyphOrigin.x;
  out.origin_y = gm.gmptGlyphOrigin.y;
  out.box_width = gm.gmBlackBoxX;
  out.box_height = gm.gmBlackBoxY;
  if (size == 0) return true;  // no ink (a space): a cell without a bitmap

  std::string buffer(size, '\0');
  if (GetGlyphOutlineW(dc_, code, GGO_GRAY8_BITMAP, &gm, size, buffer.data(), &identity) ==
      GDI_ERROR)
    return false;
  // Rows are padded to four bytes. A box larger than the bitmap GDI wrote keeps only the rows
  // the bitmap holds, so nothing is read beyond it.
  const size_t pitch = (static_cast<size_t>(out.box_width) + 3) & ~size_t{3};
  if (pitch == 0) return true;
  const size_t rows = std::min<size_t>(out.box_height, buffer.size() / pitch);
  out.box_height = static_cast<uint32_t>(rows);
  out.grey.assign(static_cast<size_t>(out.box_width) * rows, 0);
  for (size_t r = 0; r < rows; ++r)
    for (size_t i = 0; i < out.box_width; ++i) {
      const auto level = static_cast<uint8_t>(buffer[r * pitch + i]);
      out.grey[r * out.box_width + i] = std::min<uint8_t>(level, kMaxGreyLevel);
    }
  return true;
}

}  // namespace cva
