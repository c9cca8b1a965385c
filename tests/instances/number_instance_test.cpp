// Number instances: the glyph sequence (digit count, separators, minus sign, zero padding,
// the most negative integer) and how the glyphs are placed and coloured when drawn.

#include <climits>

#include "instance_rig.h"
#include "scene/objects/number_glyphs.h"
#include "scene/objects/number_instance.h"

namespace cva::testing {
namespace {

using ::testing::ElementsAre;

constexpr int kSep = NumberRecord::kSeparatorGlyph;
constexpr int kMinus = NumberRecord::kMinusGlyph;

NumberFormatValue Format(int16_t digits, bool separators = false, bool minus = false,
                         bool padding = false) {
  NumberFormatValue format;
  format.codes[2] = separators ? 1 : 2;
  format.codes[3] = minus ? 1 : 2;
  format.codes[4] = padding ? 1 : 2;
  format.numbers[0] = digits;
  return format;
}

TEST(NumberGlyphEntries, ShowsAtMostTheDigitCountWithSeparators) {
  EXPECT_THAT(NumberGlyphEntries(1234567, Format(5)), ElementsAre(7, 6, 5, 4, 3));
  EXPECT_THAT(NumberGlyphEntries(1234567, Format(5, true)), ElementsAre(7, 6, 5, kSep, 4, 3));
  EXPECT_THAT(NumberGlyphEntries(1000, Format(9, true)), ElementsAre(0, 0, 0, kSep, 1));
  // No separator is emitted before digits that are not shown.
  EXPECT_THAT(NumberGlyphEntries(123, Format(9, true)), ElementsAre(3, 2, 1));
}

TEST(NumberGlyphEntries, MinusSignAndZeroPadding) {
  EXPECT_THAT(NumberGlyphEntries(-5, Format(3, false, true)), ElementsAre(5, kMinus));
  EXPECT_THAT(NumberGlyphEntries(-5, Format(3, false, true, true)), ElementsAre(5, 0, 0, kMinus));
  EXPECT_THAT(NumberGlyphEntries(-5, Format(3)), ElementsAre(5));  // minus code off
  EXPECT_THAT(NumberGlyphEntries(42, Format(6, true, false, true)),
              ElementsAre(2, 4, 0, kSep, 0, 0, 0));
}

TEST(NumberGlyphEntries, ZeroAndDigitCountsBelowOne) {
  EXPECT_THAT(NumberGlyphEntries(0, Format(5)), ElementsAre(0));
  EXPECT_THAT(NumberGlyphEntries(987, Format(0)), ElementsAre(7));
  EXPECT_THAT(NumberGlyphEntries(987, Format(-4)), ElementsAre(7));
}

TEST(NumberGlyphEntries, MostNegativeIntegerShowsAllItsDigits) {
  EXPECT_THAT(NumberGlyphEntries(INT_MIN, Format(10, false, true)),
              ElementsAre(8, 4, 6, 3, 8, 4, 7, 4, 1, 2, kMinus));
  EXPECT_THAT(NumberGlyphEntries(INT_MAX, Format(3)), ElementsAre(7, 4, 6));
}

class NumberInstanceTest : public InstanceTest {
 protected:
  // Digit glyphs are image objects 10 to 19 (digit d is 10 + d pixels wide and 20 high),
  // the separator is object 20 (4 x 20), the minus sign object 21 (6 x 10). The number object
  // 1 is placed by node 1 at (200, 100) with `motions`. `minus_glyph` names the minus sign.
  void LoadNumber(std::vector<MotionEntry> motions, int16_t minus_glyph = 21) {
    NumberRecord number;
    number.id = 1;
    number.colour = {255, 0, 255, 255};
    for (int d = 0; d < 10; ++d)
      number.glyphs[static_cast<size_t>(d)] = static_cast<int16_t>(10 + d);
    number.glyphs[kSep] = 20;
    number.glyphs[kMinus] = minus_glyph;
    DocumentFile file;
    motions.push_back(Hold<2>(At(200, 100)));
    file = MakeDocument(Node(0, {}, {Placing(1, 1, std::move(motions))}));
    file.objects.items.push_back(Object(number));
    for (int d = 0; d < 10; ++d) {
      ImageRecord glyph;
      glyph.id = static_cast<int16_t>(10 + d);
      glyph.size = {static_cast<float>(10 + d), 20.0f};
      glyph.colour = {255, 255, 255, static_cast<uint8_t>(200 + d)};
      file.objects.items.push_back(Object(glyph));
    }
    ImageRecord separator;
    separator.id = 20;
    separator.size = {4, 20};
    ImageRecord minus;
    minus.id = 21;
    minus.size = {6, 10};
    file.objects.items.push_back(Object(separator));
    file.objects.items.push_back(Object(minus));
    Load(file);
  }
  // The pen position (left edge) and top of each drawn glyph, in draw order.
  std::vector<Vec2> Origins(const std::vector<DrawRecord>& draws) {
    std::vector<Vec2> out;
    for (const DrawRecord& draw : draws) out.push_back(Apply(draw.world, {0, 0}));
    return out;
  }
};

TEST_F(NumberInstanceTest, GlyphsEndAtTheOriginMostSignificantFirst) {
  NumberFormatValue format = Format(5, false, true);
  LoadNumber({Hold<13>(NumberValue{-12}), Hold<14>(format)});
  const auto draws = TickAndDraw(0.0f);
  ASSERT_EQ(draws.size(), 3u);  // minus, 1, 2
  // Advances are the glyph widths: 6 + 11 + 12 = 29, so the pen starts at -29.
  const auto origins = Origins(draws);
  EXPECT_FLOAT_EQ(origins[0].x, 200.0f - 29.0f);
  EXPECT_FLOAT_EQ(origins[0].y, 100.0f - 10.0f);  // the minus sign's bottom on the line
  EXPECT_FLOAT_EQ(origins[1].x, 200.0f - 23.0f);
  EXPECT_FLOAT_EQ(origins[1].y, 100.0f - 20.0f);
  EXPECT_FLOAT_EQ(origins[2].x, 200.0f - 12.0f);
  // Node colour x number colour x glyph colour.
  EXPECT_EQ(draws[2].colour, (Colour{255, 0, 255, 202}));
  EXPECT_EQ(draws[0].colour, (Colour{255, 0, 255, 255}));
}

TEST_F(NumberInstanceTest, LeftAlignedWithFixedAdvances) {
  NumberFormatValue format = Format(9, true);
  format.codes[0] = 1;    // start at the origin
  format.codes[1] = 1;    // fixed advances
  format.numbers[2] = 7;  // digits and minus
  format.numbers[3] = 3;  // separators
  LoadNumber({Hold<13>(NumberValue{1234}), Hold<14>(format)});
  const auto draws = TickAndDraw(0.0f);
  ASSERT_EQ(draws.size(), 5u);  // 1 , 2 3 4
  const auto origins = Origins(draws);
  // Advances in sequence order: 4 -> its width 14 (first glyph), 3 -> 7, 2 -> 7, sep -> 3,
  // 1 -> 7. Drawn in reverse from x = 0: 1 at 0, sep at 7, 2 at 10, 3 at 17, 4 at 24.
  const float expected[] = {0, 7, 10, 17, 24};
  for (size_t k = 0; k < 5; ++k) EXPECT_FLOAT_EQ(origins[k].x, 200.0f + expected[k]) << k;
  auto& number = dynamic_cast<NumberInstance&>(*NodeById(1).instance());
  EXPECT_EQ(number.Size(), (Vec2{38, 20}));
}

TEST_F(NumberInstanceTest, EntriesWithoutAnImageObjectAreSkipped) {
  LoadNumber({Hold<13>(NumberValue{-3}), Hold<14>(Format(2, false, true))}, -1);
  const auto draws = TickAndDraw(0.0f);
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_FLOAT_EQ(Origins(draws)[0].x, 200.0f - 13.0f);
}

TEST_F(NumberInstanceTest, MostNegativeIntegerDraws) {
  LoadNumber({Hold<13>(NumberValue{INT_MIN}), Hold<14>(Format(10, true, true))});
  // Ten digits, three separators and the minus sign.
  EXPECT_EQ(TickAndDraw(0.0f).size(), 14u);
}

}  // namespace
}  // namespace cva::testing
