#include "render/glyphs/glyph_atlas.h"

#include <gtest/gtest.h>

#include "render/glyphs/font_size.h"
#include "render/glyphs/glyph_page.h"
#include "render/glyphs/grey_levels.h"
#include "text_fakes.h"

namespace cva {
namespace {

using testing::BoxFont;
using testing::KeptPages;

// An atlas whose fonts are BoxFonts of the sizes registered (size = box width = box height,
// cell height = size + 2) and that counts how many fonts it opened.
class GlyphAtlasTest : public ::testing::Test {
 protected:
  GlyphAtlasTest()
      : atlas_(
            [this](const EncodedText& face, int32_t size, bool) -> std::unique_ptr<GlyphFont> {
              ++opened_;
              if (face.encoding() == 7) return nullptr;
              return std::make_unique<BoxFont>(size, size, size + 2, size);
            },
            &pages_, nullptr) {}

  Vec2 Origin(AtlasGlyph* g) const {
    return {g->texel_origin().x * 256.0f, g->texel_origin().y * 256.0f};
  }

  KeptPages pages_;
  GlyphAtlas atlas_;
  int opened_ = 0;
  const EncodedText face_ = EncodedText::FromUtf16(u"MS Gothic");
};

TEST_F(GlyphAtlasTest, CellsFillRowsWithOnePixelGapThenNewRowsThenNewPages) {
  const int32_t f = atlas_.RegisterFont(face_, 50, false);  // cells 50 x 52
  AtlasGlyph* first = atlas_.GetGlyph(f, 0, 'a');
  AtlasGlyph* second = atlas_.GetGlyph(f, 0, 'b');
  ASSERT_TRUE(first && second);
  EXPECT_EQ(Origin(first), (Vec2{0, 0}));
  EXPECT_EQ(first->Size(), (Vec2{50, 52}));
  EXPECT_EQ(Origin(second), (Vec2{51, 0}));
  // Five cells need 5 x 51 - 1 = 254 pixels; the sixth starts a row at the row's bottom.
  for (char16_t c = 'c'; c <= 'e'; ++c) atlas_.GetGlyph(f, 0, c);
  AtlasGlyph* sixth = atlas_.GetGlyph(f, 0, 'f');
  EXPECT_EQ(Origin(sixth), (Vec2{0, 52}));
  // Four rows take 208 pixels; a fifth does not fit (208 + 52 > 256): the page is uploaded.
  for (char16_t c = 'g'; c < 'g' + 14; ++c) atlas_.GetGlyph(f, 0, c);
  EXPECT_TRUE(atlas_.pages().empty());
  EXPECT_EQ(first->page(), nullptr);
  EXPECT_EQ(first->page_size(), 0);
  AtlasGlyph* next_page = atlas_.GetGlyph(f, 0, 'z');
  ASSERT_EQ(atlas_.pages().size(), 1u);
  EXPECT_EQ(first->page(), atlas_.pages()[0].get());
  EXPECT_EQ(first->page_size(), 256);
  EXPECT_EQ(Origin(next_page), (Vec2{0, 0}));
  EXPECT_EQ(next_page->page(), nullptr);
  // The uploaded page holds the first glyph's ink; the scratch page starts again.
  EXPECT_EQ(KeptPages::Of(atlas_.pages()[0].get()).At(0, 2).a, 251);
  EXPECT_EQ(atlas_.scratch().At(60, 2).a, 0);
}

TEST_F(GlyphAtlasTest, TheTallestCellSetsTheNextRow) {
  const int32_t small = atlas_.RegisterFont(face_, 10, false);  // 10 x 12
  const int32_t tall = atlas_.RegisterFont(face_, 40, false);   // 40 x 42
  atlas_.GetGlyph(small, 0, 'a');
  atlas_.GetGlyph(tall, 0, 'a');
  AtlasGlyph* wide = atlas_.GetGlyph(atlas_.RegisterFont(face_, 210, false), 0, 'a');
  EXPECT_EQ(Origin(wide), (Vec2{0, 42}));
}

TEST_F(GlyphAtlasTest, FlushUploadsOnlyAUsedPageAndGlyphsAreKept) {
  atlas_.Flush();
  EXPECT_TRUE(atlas_.pages().empty());
  const int32_t f = atlas_.RegisterFont(face_, 8, false);
  AtlasGlyph* a = atlas_.GetGlyph(f, 0, 'a');
  atlas_.Flush();
  atlas_.Flush();
  EXPECT_EQ(atlas_.pages().size(), 1u);
  EXPECT_EQ(a->page(), atlas_.pages()[0].get());
  EXPECT_EQ(atlas_.GetGlyph(f, 0, 'a'), a);
  // The same code in the other encoding is another glyph.
  EXPECT_NE(atlas_.GetGlyph(f, 1, 'a'), a);
}

TEST_F(GlyphAtlasTest, FontsAreRegisteredOncePerFaceSizeAndWeight) {
  const int32_t a = atlas_.RegisterFont(face_, 12, false);
  EXPECT_EQ(atlas_.RegisterFont(face_, 12, false), a);
  EXPECT_NE(atlas_.RegisterFont(face_, 12, true), a);
  EXPECT_NE(atlas_.RegisterFont(face_, 13, false), a);
  EXPECT_NE(atlas_.RegisterFont(EncodedText::FromNarrow("MS Gothic"), 12, false), a);
  EXPECT_EQ(atlas_.font_count(), 4u);
  EXPECT_EQ(opened_, 4);
}

TEST_F(GlyphAtlasTest, UnknownFontsAndFontsThatCannotOpenGiveNoGlyph) {
  EXPECT_EQ(atlas_.GetGlyph(0, 0, 'a'), nullptr);
  EXPECT_EQ(atlas_.GetGlyph(-1, 0, 'a'), nullptr);
  const int32_t bad = atlas_.RegisterFont(EncodedText(7, std::vector<uint8_t>{'x'}), 12, false);
  EXPECT_EQ(atlas_.GetGlyph(bad, 0, 'a'), nullptr);
}

TEST_F(GlyphAtlasTest, WhatOneTextCostsIsBounded) {
  // Cells of 254 x 256 take a page each.
  const int32_t big = atlas_.RegisterFont(face_, 254, false);
  for (int32_t size = 1; size < 100; ++size) atlas_.RegisterFont(face_, size, false);
  EXPECT_EQ(atlas_.font_count(), 100u);
  EXPECT_EQ(opened_, static_cast<int>(GlyphAtlas::kMaxOpenFonts));
  EXPECT_EQ(atlas_.GetGlyph(80, 0, 'a'), nullptr);
  EXPECT_NE(atlas_.GetGlyph(big, 0, 'a'), nullptr);
  int made = 0;
  for (uint16_t code = 0; code < 200; ++code)
    if (atlas_.GetGlyph(big, 0, code)) ++made;
  EXPECT_EQ(atlas_.pages().size(), GlyphAtlas::kMaxPages);
  EXPECT_EQ(made, static_cast<int>(GlyphAtlas::kMaxPages) + 1);
  // Glyphs made before the limit are still there.
  EXPECT_NE(atlas_.GetGlyph(big, 0, 5), nullptr);
}

TEST(GreyLevelTest, SixtyFiveLevelsMapToAlphaAsTheReferenceDoes) {
  EXPECT_EQ(GreyToAlpha(0), 0);
  EXPECT_EQ(GreyToAlpha(1), 3);
  EXPECT_EQ(GreyToAlpha(32), 125);
  EXPECT_EQ(GreyToAlpha(64), 251);
  EXPECT_EQ(CoverageToGrey(0), 0);
  EXPECT_EQ(CoverageToGrey(255), 64);
  EXPECT_EQ(CoverageToGrey(128), 32);
}

TEST(FontSizeTest, PointSizesBecomeEmPixelsAt96DpiWithinALimit) {
  EXPECT_EQ(EmPixels(12), 16);
  EXPECT_EQ(EmPixels(9), 12);
  EXPECT_EQ(EmPixels(10), 13);  // 13.33 rounds down
  EXPECT_EQ(EmPixels(-12), 16);
  EXPECT_EQ(EmPixels(0), 16);
  EXPECT_EQ(EmPixels(INT32_MAX), kMaxEmPixels);
  EXPECT_EQ(EmPixels(INT32_MIN), kMaxEmPixels);
}

TEST(GlyphPageTest, WritesTheBoxBelowTheAscentAtTheCellsLeftEdge) {
  RgbaBitmap page(256, 256);
  GlyphBitmap g;
  g.origin_x = 3;  // the bearing widens the cell; the box still starts at its left edge
  g.origin_y = 7;
  g.box_width = 2;
  g.box_height = 2;
  g.grey = {64, 32, 0, 200};  // levels above 64 count as 64
  WriteGlyph(page, 10, 20, 9, g);
  EXPECT_EQ(page.At(10, 22), (Texel{255, 255, 255, 251}));
  EXPECT_EQ(page.At(11, 22).a, 125);
  EXPECT_EQ(page.At(10, 23), (Texel{255, 255, 255, 0}));
  EXPECT_EQ(page.At(11, 23).a, 251);
  EXPECT_EQ(page.At(12, 22), (Texel{}));
  EXPECT_EQ(page.At(10, 21), (Texel{}));
}

TEST(GlyphPageTest, CellsLargerThanThePageAreClippedToIt) {
  // A 310 x 300 cell, and boxes reaching above, left of and beyond the page.
  GlyphAtlas atlas(
      [](const EncodedText&, int32_t size, bool) -> std::unique_ptr<GlyphFont> {
        return std::make_unique<BoxFont>(size, size, size, size / 2, 10);
      },
      nullptr, nullptr);
  const int32_t f = atlas.RegisterFont(EncodedText::FromUtf16(u"F"), 300, false);
  AtlasGlyph* huge = atlas.GetGlyph(f, 0, 'a');
  ASSERT_NE(huge, nullptr);
  EXPECT_EQ(huge->texel_origin(), (Vec2{0, 0}));
  EXPECT_EQ(atlas.scratch().At(0, 0).a, 251);
  EXPECT_EQ(atlas.scratch().At(255, 149).a, 251);
  AtlasGlyph* next = atlas.GetGlyph(f, 0, 'b');
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(atlas.pages().size(), 1u);

  RgbaBitmap page(256, 256);
  GlyphBitmap g;
  g.origin_y = 1000;
  g.box_width = 10;
  g.box_height = 2000;
  g.grey.assign(20000, 64);
  WriteGlyph(page, 250, 0, 0, g);
  WriteGlyph(page, -5, 250, 300, g);
  EXPECT_EQ(page.At(255, 0).a, 251);
  EXPECT_EQ(page.At(0, 255).a, 251);
  EXPECT_EQ(page.At(4, 255).a, 251);
  EXPECT_EQ(page.At(5, 255).a, 0);
}

TEST(GlyphCodeTest, ShiftJisCodesConvertToUtf16) {
  EXPECT_EQ(GlyphCodeUnit(EncodedText::kShiftJis, 0xA082), u'あ');  // 0x82 0xA0
  EXPECT_EQ(GlyphCodeUnit(EncodedText::kShiftJis, 0xBF8A), u'漢');  // 0x8A 0xBF
  EXPECT_EQ(GlyphCodeUnit(EncodedText::kShiftJis, 'A'), u'A');
  EXPECT_EQ(GlyphCodeUnit(EncodedText::kShiftJis, 0xB1), u'ｱ');  // half-width katakana
  EXPECT_EQ(GlyphCodeUnit(EncodedText::kUtf16, 0x3042), u'あ');
}

}  // namespace
}  // namespace cva
