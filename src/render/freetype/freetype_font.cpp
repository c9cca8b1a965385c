#include "render/freetype/freetype_font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>

#include "render/glyphs/grey_levels.h"
#include "stream/text_conversion.h"

namespace cva {
namespace {

// The process's FreeType library, created on first use.
FT_Library Library() {
  struct Holder {
    FT_Library library = nullptr;
    Holder() {
      if (FT_Init_FreeType(&library) != 0) library = nullptr;
    }
    ~Holder() {
      if (library) FT_Done_FreeType(library);
    }
  };
  static Holder holder;
  return holder.library;
}

int32_t Scaled(int32_t font_units, int32_t em_pixels, int32_t units_per_em) {
  return static_cast<int32_t>(
      std::lround(static_cast<double>(font_units) * em_pixels / units_per_em));
}

class FreeTypeFont final : public GlyphFont {
 public:
  FreeTypeFont(FT_Face face, int32_t em_pixels, bool embolden) : face_(face), embolden_(embolden) {
    const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && face->units_per_EM > 0 && os2->usWinAscent + os2->usWinDescent > 0) {
      metrics_.ascent = Scaled(os2->usWinAscent, em_pixels, face->units_per_EM);
      metrics_.height = metrics_.ascent + Scaled(os2->usWinDescent, em_pixels, face->units_per_EM);
    } else {
      const FT_Size_Metrics& m = face->size->metrics;
      metrics_.ascent = static_cast<int32_t>((m.ascender + 63) / 64);
      metrics_.height = metrics_.ascent + static_cast<int32_t>((-m.descender + 63) / 64);
    }
  }
  ~FreeTypeFont() override { FT_Done_Face(face_); }

  FontMetrics Metrics() const override { return metrics_; }

  bool Render(char16_t code, GlyphBitmap& out) override {
    out = GlyphBitmap{};
    if (FT_Load_Char(face_, code, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_NORMAL) != 0) return false;
    FT_GlyphSlot slot = face_->glyph;
    if (embolden_) FT_GlyphSlot_Embolden(slot);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return false;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.width == 0 || bitmap.rows == 0 || bitmap.pixel_mode != FT_PIXEL_MODE_GRAY ||
        bitmap.pitch <= 0 || !bitmap.buffer) {
      // No ink: like the reference rasterizer, a blank character has a 1 x 1 black box at the
      // pen position and no bitmap.
      out.box_width = 1;
      out.box_height = 1;
      return true;
    }
    out.origin_x = slot->bitmap_left;
    out.origin_y = slot->bitmap_top;
    out.box_width = bitmap.width;
    out.box_height = bitmap.rows;
    out.grey.resize(static_cast<size_t>(bitmap.width) * bitmap.rows);
    const int levels = bitmap.num_grays > 1 ? bitmap.num_grays - 1 : 255;
    for (unsigned r = 0; r < bitmap.rows; ++r) {
      const unsigned char* row = bitmap.buffer + static_cast<size_t>(r) * bitmap.pitch;
      for (unsigned i = 0; i < bitmap.width; ++i) {
        const int coverage = levels == 255 ? row[i] : row[i] * 255 / levels;
        out.grey[static_cast<size_t>(r) * bitmap.width + i] =
            CoverageToGrey(static_cast<uint8_t>(coverage));
      }
    }
    return true;
  }

 private:
  FT_Face face_;
  bool embolden_;
  FontMetrics metrics_;
};

}  // namespace

std::unique_ptr<GlyphFont> OpenFreeTypeFont(const FontFile& file, int32_t em_pixels) {
  FT_Library library = Library();
  if (!library) return nullptr;
  FT_Face face = nullptr;
  if (FT_New_Face(library, file.path.c_str(), file.index, &face) != 0) return nullptr;
  if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em_pixels)) != 0) {
    FT_Done_Face(face);
    return nullptr;
  }
  return std::make_unique<FreeTypeFont>(face, em_pixels, file.synthetic_bold);
}

std::unique_ptr<GlyphFont> OpenSystemFont(const EncodedText& face, int32_t point_size, bool bold) {
  if (face.encoding() != EncodedText::kUtf16 && face.encoding() != EncodedText::kShiftJis)
    return nullptr;
  const std::optional<FontFile> file = ResolveFontFile(ToUtf8(face), bold);
  if (!file) return nullptr;
  return OpenFreeTypeFont(*file, EmPixels(point_size));
}

}  // namespace cva
