#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "render/soft/glyphs/glyph_font.h"
#include "render/soft/glyphs/page_packer.h"
#include "render/soft/glyphs/soft_glyph.h"
#include "render/soft/soft_texture.h"
#include "stream/encoded_text.h"

namespace cva {

// The UTF-16 code unit of a character code as the layout produces it: UTF-16 codes are taken
// as they are; Shift-JIS codes (lead byte in the low 8 bits, trail byte in the high 8 bits, or
// a single byte) are converted from code page 932. A code that converts to nothing gives 0,
// which fonts draw as their missing-character glyph.
char16_t GlyphCodeUnit(int32_t encoding, uint16_t code);

// Glyph pages of one text primitive. Fonts are registered once per face, size and weight;
// each (font, encoding, code) is rasterized on first request into a 256 x 256 scratch page,
// packed in rows (PagePacker), and the scratch page is copied into a page texture when it is
// full or flushed. Pages and glyphs live as long as the atlas.
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

  GlyphAtlas(FontOpener opener, GlyphPainter* painter);
  ~GlyphAtlas();
  GlyphAtlas(const GlyphAtlas&) = delete;
  GlyphAtlas& operator=(const GlyphAtlas&) = delete;

  // The index of an earlier font with an equal face (encoding and bytes), size and weight, or
  // of a newly appended one.
  int32_t RegisterFont(const EncodedText& face, int32_t size, bool bold);
  // The glyph of `code`, rasterized on first use; nullptr for a font index that was not
  // returned by RegisterFont or a font that could not be opened.
  SoftGlyph* GetGlyph(int32_t font, int32_t encoding, uint16_t code);
  // Copies the scratch page into a new page texture when anything was placed on it, gives
  // that page to every glyph placed since the last flush, and clears the scratch page.
  void Flush();

  size_t font_count() const { return fonts_.size(); }
  const std::vector<std::unique_ptr<SoftTexture>>& pages() const { return pages_; }
  const SoftTexture& scratch() const { return scratch_; }
  const PagePacker& packer() const { return packer_; }

 private:
  struct FontEntry {
    EncodedText face;
    int32_t size = 0;
    bool bold = false;
    std::unique_ptr<GlyphFont> font;
  };
  std::unique_ptr<SoftGlyph> Rasterize(GlyphFont& font, char16_t unit);

  FontOpener opener_;
  GlyphPainter* painter_;
  PagePacker packer_;
  SoftTexture scratch_;
  std::vector<std::unique_ptr<SoftTexture>> pages_;
  std::vector<FontEntry> fonts_;
  // Per font index: glyph key (encoding x 65536 + code) to glyph.
  std::map<int32_t, std::map<int64_t, std::unique_ptr<SoftGlyph>>> glyphs_;
  // Glyphs placed since the last flush, which the next flush gives their page.
  std::vector<SoftGlyph*> unflushed_;
};

}  // namespace cva
