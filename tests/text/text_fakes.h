#pragma once

// Test doubles for the text tests: a font with fixed metrics and solid glyphs, a page upload
// that keeps the pages' bitmaps, and a text primitive whose glyphs have sizes chosen per code
// and record their draws.

#include <cstdint>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "render/glyphs/glyph_font.h"
#include "render/glyphs/glyph_page_upload.h"
#include "render/matrix_transform.h"
#include "render/primitives.h"
#include "stream/encoded_text.h"

namespace cva::testing {

// Every character is a black box of the given size, fully covered, starting `origin_x` right of
// the pen; the cell is `height` tall with the baseline `ascent` below its top.
class BoxFont final : public GlyphFont {
 public:
  BoxFont(uint32_t box_w, uint32_t box_h, int32_t height, int32_t ascent, int32_t origin_x = 0)
      : box_w_(box_w), box_h_(box_h), height_(height), ascent_(ascent), origin_x_(origin_x) {}
  FontMetrics Metrics() const override { return {ascent_, height_}; }
  bool Render(char16_t code, GlyphBitmap& out) override {
    rendered.push_back(code);
    out.origin_x = origin_x_;
    out.origin_y = ascent_;
    out.box_width = box_w_;
    out.box_height = box_h_;
    out.grey.assign(static_cast<size_t>(box_w_) * box_h_, 64);
    return true;
  }
  std::vector<char16_t> rendered;

 private:
  uint32_t box_w_, box_h_;
  int32_t height_, ascent_, origin_x_;
};

// Page "textures" that are copies of the uploaded page bitmaps.
class KeptPages final : public GlyphPageUpload {
 public:
  struct Page final : GlyphPageTexture {
    explicit Page(const RgbaBitmap& p) : bitmap(p) {}
    RgbaBitmap bitmap;
  };
  std::unique_ptr<GlyphPageTexture> Upload(const RgbaBitmap& page) override {
    return std::make_unique<Page>(page);
  }
  static const RgbaBitmap& Of(const GlyphPageTexture* page) {
    return static_cast<const Page*>(page)->bitmap;
  }
};

struct GlyphDraw {
  uint16_t code = 0;
  Vec2 at;  // where the cell's top-left corner lands
  Colour colour;
};

class FakeGlyph final : public GlyphEntry {
 public:
  FakeGlyph(uint16_t code, Vec2 size, std::vector<GlyphDraw>& draws)
      : code_(code), size_(size), draws_(draws) {}
  Vec2 Size() const override { return size_; }
  void Draw(const Transform& world, Colour colour) override {
    draws_.push_back({code_, world.TransformPoint({0, 0}), colour});
  }

 private:
  uint16_t code_;
  Vec2 size_;
  std::vector<GlyphDraw>& draws_;
};

// Glyphs are 10 wide and as tall as the font's point size, except codes given their own
// size; font index 0 is the first font registered. Codes are recorded with their encoding.
class FakeTextPrimitive final : public TextPrimitive {
 public:
  int32_t RegisterFont(const EncodedText& face, int32_t size, bool bold) override {
    for (size_t i = 0; i < fonts.size(); ++i)
      if (fonts[i].face == face && fonts[i].size == size && fonts[i].bold == bold)
        return static_cast<int32_t>(i);
    fonts.push_back({face, size, bold});
    return static_cast<int32_t>(fonts.size() - 1);
  }
  GlyphEntry* GetGlyph(int32_t font, int32_t encoding, uint16_t code) override {
    if (font < 0 || static_cast<size_t>(font) >= fonts.size()) return nullptr;
    requests.push_back({encoding, code});
    Vec2 size{10.0f, static_cast<float>(fonts[static_cast<size_t>(font)].size)};
    if (auto it = sizes.find(code); it != sizes.end()) size = it->second;
    glyphs.push_back(std::make_unique<FakeGlyph>(code, size, draws));
    return glyphs.back().get();
  }
  void Flush() override { ++flushes; }

  struct Font {
    EncodedText face;
    int32_t size;
    bool bold;
  };
  std::vector<Font> fonts;
  std::map<uint16_t, Vec2> sizes;
  std::vector<std::pair<int32_t, uint16_t>> requests;
  std::vector<std::unique_ptr<FakeGlyph>> glyphs;
  std::vector<GlyphDraw> draws;
  int32_t flushes = 0;
};

}  // namespace cva::testing
