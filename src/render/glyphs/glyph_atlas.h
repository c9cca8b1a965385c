#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "render/glyphs/atlas_glyph.h"
#include "render/glyphs/glyph_font.h"
#include "render/glyphs/glyph_page_upload.h"
#include "render/glyphs/page_packer.h"
#include "render/image/rgba_bitmap.h"
#include "stream/encoded_text.h"

namespace cva {

// The UTF-16 code unit of a character code as the layout produces it: UTF-16 codes are taken
// as they are; Shift-JIS codes (lead byte in the low 8 bits, trail byte in the high 8 bits, or
// a single byte) are converted from code page 932. A code that converts to nothing gives 0,
// which fonts draw as their missing-character glyph.
char16_t GlyphCodeUnit(int32_t encoding, uint16_t code);

// Glyph pages of one text primitive. Fonts are registered once per face, size and weight and
// opened by the backend's font rasterizer (FontOpener); each (font, encoding, code) is
// rasterized on first request into a 256 x 256 scratch page in memory, packed in rows
// (PagePacker), and the scratch page is handed to the backend's GlyphPageUpload, which makes
// the page texture, when it is full or flushed. Pages and glyphs live as long as the atlas.
//
// A text record can ask for many fonts and large glyphs with few bytes, so the atlas bounds
// what one text costs: only the first kMaxOpenFonts distinct fonts are opened (later ones
// have no glyphs), and once kMaxPages pages are filled no new glyph is made.
class GlyphAtlas {
 public:
  static constexpr size_t kMaxOpenFonts = 64;
  static constexpr size_t kMaxPages = 64;

  // Opens a font for a registered face name, point size and weight; nullptr when the face
  // cannot be used (its glyphs are then none).
  using FontOpener =
      std::function<std::unique_ptr<GlyphFont>(const EncodedText& face, int32_t size, bool bold)>;

  // `upload` makes the page textures (none when it is nullptr); `painter` draws the glyphs.
  GlyphAtlas(FontOpener opener, GlyphPageUpload* upload, GlyphPainter* painter);
  ~GlyphAtlas();
  GlyphAtlas(const GlyphAtlas&) = delete;
  GlyphAtlas& operator=(const GlyphAtlas&) = delete;

  // The index of an earlier font with an equal face (encoding and bytes), size and weight, or
  // of a newly appended one.
  int32_t RegisterFont(const EncodedText& face, int32_t size, bool bold);
  // The glyph of `code`, rasterized on first use; nullptr for a font index that was not
  // returned by RegisterFont or a font that could not be opened.
  AtlasGlyph* GetGlyph(int32_t font, int32_t encoding, uint16_t code);
  // Uploads the scratch page when anything was placed on it, gives the page texture to every
  // glyph placed since the last flush, and clears the scratch page.
  void Flush();

  size_t font_count() const { return fonts_.size(); }
  // The uploaded pages, oldest first (nullptr where the upload made no texture).
  const std::vector<std::unique_ptr<GlyphPageTexture>>& pages() const { return pages_; }
  const RgbaBitmap& scratch() const { return scratch_; }
  const PagePacker& packer() const { return packer_; }

 private:
  struct FontEntry {
    EncodedText face;
    int32_t size = 0;
    bool bold = false;
    std::unique_ptr<GlyphFont> font;
  };
  std::unique_ptr<AtlasGlyph> Rasterize(GlyphFont& font, char16_t unit);

  FontOpener opener_;
  GlyphPageUpload* upload_;
  GlyphPainter* painter_;
  PagePacker packer_;
  RgbaBitmap scratch_;
  std::vector<std::unique_ptr<GlyphPageTexture>> pages_;
  std::vector<FontEntry> fonts_;
  // Per font index: glyph key (encoding x 65536 + code) to glyph.
  std::map<int32_t, std::map<int64_t, std::unique_ptr<AtlasGlyph>>> glyphs_;
  // Glyphs placed since the last flush, which the next flush gives their page.
  std::vector<AtlasGlyph*> unflushed_;
};

}  // namespace cva
