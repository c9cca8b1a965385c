#include "render/glyphs/glyph_atlas.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "render/glyphs/glyph_page.h"
#include "system/text_codec.h"

namespace cva {

char16_t GlyphCodeUnit(int32_t encoding, uint16_t code) {
  if (encoding != EncodedText::kShiftJis) return static_cast<char16_t>(code);
  std::string bytes;
  bytes.push_back(static_cast<char>(code & 0xFF));
  if (code > 0xFF) bytes.push_back(static_cast<char>(code >> 8));
  const std::u16string units = Cp932ToUtf16(bytes);
  return units.empty() ? u'\0' : units.front();
}

GlyphAtlas::GlyphAtlas(FontOpener opener, GlyphPageUpload* upload, GlyphPainter* painter)
    : opener_(std::move(opener)),
      upload_(upload),
      painter_(painter),
      scratch_(PagePacker::kPageSide, PagePacker::kPageSide) {}

GlyphAtlas::~GlyphAtlas() = default;

int32_t GlyphAtlas::RegisterFont(const EncodedText& face, int32_t size, bool bold) {
  for (size_t i = 0; i < fonts_.size(); ++i) {
    const FontEntry& f = fonts_[i];
    if (f.bold == bold && f.size == size && f.face == face) return static_cast<int32_t>(i);
  }
  FontEntry entry{face, size, bold, nullptr};
  if (opener_ && fonts_.size() < kMaxOpenFonts) entry.font = opener_(face, size, bold);
  fonts_.push_back(std::move(entry));
  return static_cast<int32_t>(fonts_.size() - 1);
}

AtlasGlyph* GlyphAtlas::GetGlyph(int32_t font, int32_t encoding, uint16_t code) {
  if (font < 0 || static_cast<size_t>(font) >= fonts_.size()) return nullptr;
  GlyphFont* source = fonts_[static_cast<size_t>(font)].font.get();
  if (!source) return nullptr;
  const int64_t key = int64_t{encoding} * 65536 + code;
  std::map<int64_t, std::unique_ptr<AtlasGlyph>>& cache = glyphs_[font];
  if (auto it = cache.find(key); it != cache.end()) return it->second.get();
  if (pages_.size() >= kMaxPages) return nullptr;
  std::unique_ptr<AtlasGlyph>& slot = cache[key];
  slot = Rasterize(*source, GlyphCodeUnit(encoding, code));
  return slot.get();
}

std::unique_ptr<AtlasGlyph> GlyphAtlas::Rasterize(GlyphFont& font, char16_t unit) {
  const FontMetrics metrics = font.Metrics();
  GlyphBitmap bitmap;
  if (!font.Render(unit, bitmap)) bitmap = GlyphBitmap{};
  // The cell spans the left bearing and the black box; a box reaching left of the pen by more
  // than its width would give a negative width, which counts as an empty cell.
  const int64_t width = int64_t{bitmap.origin_x} + bitmap.box_width;
  const uint32_t w = width > 0 ? static_cast<uint32_t>(std::min<int64_t>(width, UINT32_MAX)) : 0;
  const uint32_t h = metrics.height > 0 ? static_cast<uint32_t>(metrics.height) : 0;

  if (packer_.Prepare(w, h)) Flush();
  const float x = packer_.x();
  const float y = packer_.y();
  WriteGlyph(scratch_, static_cast<int32_t>(x), static_cast<int32_t>(y), metrics.ascent, bitmap);
  const float side = static_cast<float>(PagePacker::kPageSide);
  auto glyph = std::make_unique<AtlasGlyph>(painter_, Vec2{x / side, y / side},
                                            Vec2{static_cast<float>(w), static_cast<float>(h)});
  unflushed_.push_back(glyph.get());
  packer_.Advance(w, h);
  return glyph;
}

void GlyphAtlas::Flush() {
  if (!packer_.Used()) return;
  pages_.push_back(upload_ ? upload_->Upload(scratch_) : nullptr);
  for (AtlasGlyph* glyph : unflushed_) glyph->set_page(pages_.back().get());
  unflushed_.clear();
  scratch_.Fill(Texel{});
  packer_.Reset();
}

}  // namespace cva
