// Glyphs through the real font stack (fontconfig, FreeType, the installed IPA and DejaVu
// fonts) and drawn by the software renderer.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "render/freetype/font_resolver.h"
#include "render/freetype/freetype_font.h"
#include "render/matrix_transform.h"
#include "render/soft/glyphs/soft_text_primitive.h"
#include "render/soft/soft_provider.h"
#include "scene/text/text_node.h"
#include "system/text_codec.h"
#include "text_fakes.h"
#include "text_records.h"

namespace cva {
namespace {

// Whether `path`, with links resolved (some fonts are installed under a second name), names
// the file `name`.
bool EndsWith(const std::string& path, const std::string& name) {
  std::error_code error;
  const std::string s = std::filesystem::canonical(path, error).string();
  return s.size() >= name.size() && s.compare(s.size() - name.size(), name.size(), name) == 0;
}

EncodedText ShiftJis(const std::string& utf8) {
  const std::string bytes = Utf8ToCp932(utf8);
  return EncodedText(EncodedText::kShiftJis, std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

TEST(FontResolverTest, DocumentFaceNamesFindTheInstalledFonts) {
  EXPECT_TRUE(EndsWith(ResolveFontFile("ＭＳ Ｐゴシック", false)->path, "ipagp.ttf"));
  EXPECT_TRUE(EndsWith(ResolveFontFile("MS PGothic", false)->path, "ipagp.ttf"));
  EXPECT_TRUE(EndsWith(ResolveFontFile("MS UI Gothic", false)->path, "ipagp.ttf"));
  EXPECT_TRUE(EndsWith(ResolveFontFile("ＭＳ ゴシック", false)->path, "ipag.ttf"));
  EXPECT_TRUE(EndsWith(ResolveFontFile("MS Gothic", false)->path, "ipag.ttf"));
  EXPECT_TRUE(EndsWith(ResolveFontFile("DejaVu Sans", false)->path, "DejaVuSans.ttf"));
  // Latin names fontconfig does not know still end on an installed font.
  EXPECT_FALSE(ResolveFontFile("Some Unknown Face", false)->path.empty());
  // IPA fonts have no bold face: bold is synthesized; DejaVu has one.
  EXPECT_TRUE(ResolveFontFile("MS Gothic", true)->synthetic_bold);
  const auto dejavu_bold = ResolveFontFile("DejaVu Sans", true);
  EXPECT_TRUE(EndsWith(dejavu_bold->path, "DejaVuSans-Bold.ttf"));
  EXPECT_FALSE(dejavu_bold->synthetic_bold);
}

TEST(FreeTypeFontTest, RendersInSixtyFiveGreyLevelsAndBlanksHaveAOnePixelBox) {
  auto font = OpenSystemFont(EncodedText::FromUtf16(u"MS Gothic"), 12, false);
  ASSERT_NE(font, nullptr);
  const FontMetrics m = font->Metrics();
  EXPECT_GE(m.height, 16);
  EXPECT_GT(m.ascent, 0);
  EXPECT_LT(m.ascent, m.height);
  GlyphBitmap a;
  ASSERT_TRUE(font->Render(u'あ', a));
  EXPECT_GT(a.box_width, 5u);
  EXPECT_GT(a.box_height, 5u);
  ASSERT_EQ(a.grey.size(), size_t{a.box_width} * a.box_height);
  EXPECT_EQ(*std::max_element(a.grey.begin(), a.grey.end()), 64);
  GlyphBitmap space;
  ASSERT_TRUE(font->Render(u' ', space));
  EXPECT_EQ(space.box_width, 1u);
  EXPECT_EQ(space.box_height, 1u);
  EXPECT_TRUE(space.grey.empty());
  // Faces in other encodings have no font.
  EXPECT_EQ(OpenSystemFont(EncodedText(5, std::vector<uint8_t>{'x'}), 12, false), nullptr);
}

TEST(FreeTypeFontTest, BoldIsHeavier) {
  auto regular = OpenSystemFont(EncodedText::FromUtf16(u"MS Gothic"), 12, false);
  auto bold = OpenSystemFont(EncodedText::FromUtf16(u"MS Gothic"), 12, true);
  ASSERT_TRUE(regular && bold);
  GlyphBitmap r, b;
  ASSERT_TRUE(regular->Render(u'H', r));
  ASSERT_TRUE(bold->Render(u'H', b));
  auto ink = [](const GlyphBitmap& g) {
    int sum = 0;
    for (uint8_t v : g.grey) sum += v;
    return sum;
  };
  EXPECT_GT(ink(b), ink(r));
}

// The texels of a glyph's cell on its page.
std::vector<Texel> CellTexels(const GlyphEntry* entry) {
  const auto* glyph = static_cast<const AtlasGlyph*>(entry);
  std::vector<Texel> texels;
  const SoftTexture* page = SoftTextPrimitive::PageTexture(*glyph);
  if (!page) return texels;
  const int32_t x0 = static_cast<int32_t>(glyph->texel_origin().x * 256.0f);
  const int32_t y0 = static_cast<int32_t>(glyph->texel_origin().y * 256.0f);
  for (int32_t y = 0; y < static_cast<int32_t>(glyph->Size().y); ++y)
    for (int32_t x = 0; x < static_cast<int32_t>(glyph->Size().x); ++x)
      texels.push_back(page->At(x0 + x, y0 + y));
  return texels;
}

TEST(SoftTextTest, ShiftJisAndUtf16TextsGiveTheSameGlyphs) {
  SoftProvider provider(64, 64);
  const std::string text = "あ漢A\nｱ";
  for (const char* face : {"ＭＳ Ｐゴシック", "MS UI Gothic", "DejaVu Sans"}) {
    SCOPED_TRACE(face);
    TextNode utf16(std::make_unique<SoftTextPrimitive>(provider),
                   std::make_unique<MatrixTransform>());
    TextNode sjis(std::make_unique<SoftTextPrimitive>(provider),
                  std::make_unique<MatrixTransform>());
    utf16.Layout(testing::Record(testing::FontRun(Utf8ToUtf16(face), 12),
                                 testing::Utf16Run(Utf8ToUtf16(text))));
    TextElementRecord sjis_face = testing::FontRun(u"", 12);
    sjis_face.face = testing::Stored(ShiftJis(face));
    sjis.Layout(testing::Record(sjis_face, testing::TextRun(ShiftJis(text))));
    ASSERT_EQ(utf16.GlyphCount(0), 4);
    ASSERT_EQ(sjis.GlyphCount(0), 4);
    EXPECT_EQ(utf16.size(), sjis.size());
    EXPECT_GT(utf16.size().x, 0.0f);
    for (int32_t i = 0; i < 4; ++i) {
      const GlyphEntry* a = utf16.PlacementAt(0, i)->glyph;
      const GlyphEntry* b = sjis.PlacementAt(0, i)->glyph;
      EXPECT_EQ(a->Size(), b->Size()) << i;
      const std::vector<Texel> texels = CellTexels(a);
      EXPECT_FALSE(texels.empty());
      EXPECT_EQ(texels, CellTexels(b)) << i;
    }
  }
}

// A text primitive over box fonts: a glyph is a 4 x 4 full box in a 6 x 6 cell (bearing 2).
class SoftGlyphDrawTest : public ::testing::Test {
 protected:
  SoftGlyphDrawTest()
      : provider_(40, 24),
        text_(provider_, [](const EncodedText&, int32_t, bool) -> std::unique_ptr<GlyphFont> {
          return std::make_unique<testing::BoxFont>(4, 4, 6, 4, 2);
        }) {
    provider_.BeginFrame();
    font_ = text_.RegisterFont(EncodedText::FromUtf16(u"F"), 12, false);
  }

  void DrawAt(GlyphEntry* glyph, float x, float y, Colour colour) {
    MatrixTransform world;
    world.SetTranslation(x, y);
    glyph->Draw(world, colour);
  }
  uint8_t Red(int32_t x, int32_t y) const { return provider_.framebuffer().At(x, y).r; }

  SoftProvider provider_;
  SoftTextPrimitive text_;
  int32_t font_ = 0;
};

TEST_F(SoftGlyphDrawTest, GlyphsDrawExactlyTheirCellsTexels) {
  GlyphEntry* a = text_.GetGlyph(font_, 0, 'a');
  GlyphEntry* b = text_.GetGlyph(font_, 0, 'b');  // at x = 7 on the page
  text_.Flush();
  EXPECT_EQ(a->Size(), (Vec2{6, 6}));
  DrawAt(a, 5, 7, Colour{255, 255, 255, 255});
  DrawAt(b, 20, 7, Colour{255, 0, 0, 255});
  // Ink of alpha 251 over black.
  for (int32_t x = 5; x < 9; ++x)
    for (int32_t y = 7; y < 11; ++y) EXPECT_NEAR(Red(x, y), 251, 1) << x << "," << y;
  EXPECT_EQ(Red(9, 7), 0);
  EXPECT_EQ(Red(10, 8), 0);
  EXPECT_EQ(Red(5, 11), 0);
  EXPECT_EQ(Red(4, 7), 0);
  EXPECT_NEAR(Red(20, 7), 251, 1);
  EXPECT_NEAR(Red(23, 10), 251, 1);
  EXPECT_EQ(Red(24, 7), 0);
  EXPECT_EQ(provider_.framebuffer().At(21, 8).g, 0);
}

TEST_F(SoftGlyphDrawTest, GlyphsNotYetFlushedDrawTheirCellInPlainColour) {
  GlyphEntry* a = text_.GetGlyph(font_, 0, 'a');
  DrawAt(a, 5, 7, Colour{255, 255, 255, 255});
  EXPECT_EQ(Red(5, 7), 255);
  EXPECT_EQ(Red(10, 12), 255);  // the whole 6 x 6 cell, not only the 4 x 4 ink
  EXPECT_EQ(Red(4, 7), 0);
  EXPECT_EQ(Red(5, 6), 0);
  EXPECT_EQ(Red(11, 7), 0);
  EXPECT_EQ(Red(5, 13), 0);
}

TEST_F(SoftGlyphDrawTest, UseSoftGlyphsMakesTheProviderCreateThem) {
  SoftProvider provider(8, 8);
  UseSoftGlyphs(provider);
  auto primitive = provider.CreateTextPrimitive();
  EXPECT_NE(dynamic_cast<SoftTextPrimitive*>(primitive.get()), nullptr);
}

}  // namespace
}  // namespace cva
