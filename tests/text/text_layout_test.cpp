#include <gtest/gtest.h>

#include <limits>

#include "render/matrix_transform.h"
#include "scene/text/text_node.h"
#include "text_fakes.h"
#include "text_records.h"

namespace cva {
namespace {

using testing::FakeTextPrimitive;

constexpr Colour kRed{255, 0, 0, 255};
constexpr Colour kBlue{0, 0, 255, 128};

class TextLayoutTest : public ::testing::Test {
 protected:
  TextLayoutTest() {
    auto primitive = std::make_unique<FakeTextPrimitive>();
    fake_ = primitive.get();
    node_ = std::make_unique<TextNode>(std::move(primitive), std::make_unique<MatrixTransform>());
  }

  FakeTextPrimitive* fake_ = nullptr;
  std::unique_ptr<TextNode> node_;
};

TEST_F(TextLayoutTest, ColoursApplyToTheGlyphsThatFollowAndStartTransparent) {
  node_->Layout(testing::Record(testing::FontRun(u"MS Gothic", 12), testing::Utf16Run(u"a"),
                                testing::ColourRun(kRed), testing::Utf16Run(u"bc"),
                                testing::ColourRun(kBlue), testing::Utf16Run(u"d")));
  ASSERT_EQ(node_->paragraphs().size(), 1u);
  const auto& line = node_->paragraphs()[0].lines.at(0);
  ASSERT_EQ(line.placements.size(), 4u);
  EXPECT_EQ(line.placements[0].colour, (Colour{0, 0, 0, 0}));
  EXPECT_EQ(line.placements[1].colour, kRed);
  EXPECT_EQ(line.placements[2].colour, kRed);
  EXPECT_EQ(line.placements[3].colour, kBlue);
  EXPECT_EQ(fake_->flushes, 1);
}

TEST_F(TextLayoutTest, LineBreaksMakeLinesThatStandOnTheirTallestGlyph) {
  fake_->sizes[u'X'] = {20.0f, 30.0f};
  node_->Layout(testing::Record(testing::FontRun(u"MS Gothic", 16), testing::Utf16Run(u"ab\nc"),
                                testing::FontRun(u"MS Gothic", 8), testing::Utf16Run(u"\nX")));
  ASSERT_EQ(node_->paragraphs().size(), 1u);
  const TextParagraph& p = node_->paragraphs()[0];
  ASSERT_EQ(p.lines.size(), 3u);
  EXPECT_EQ(p.lines[0].placements.size(), 2u);
  EXPECT_EQ(p.lines[1].placements.size(), 1u);
  EXPECT_FLOAT_EQ(p.lines[0].width, 20.0f);
  EXPECT_FLOAT_EQ(p.lines[0].height, 16.0f);
  EXPECT_FLOAT_EQ(p.lines[1].height, 16.0f);
  // The third line was made after the 8-point run but its glyph is 30 tall.
  EXPECT_FLOAT_EQ(p.lines[2].height, 30.0f);
  EXPECT_FLOAT_EQ(p.width, 20.0f);
  EXPECT_FLOAT_EQ(p.height, 62.0f);
  EXPECT_EQ(node_->size(), (Vec2{20.0f, 62.0f}));

  // Drawn from the origin down, each glyph on its line's bottom edge.
  node_->Draw(MatrixTransform(), Colour{255, 255, 255, 255}, 0, -1);
  ASSERT_EQ(fake_->draws.size(), 4u);
  EXPECT_EQ(fake_->draws[0].at, (Vec2{0.0f, 0.0f}));
  EXPECT_EQ(fake_->draws[1].at, (Vec2{10.0f, 0.0f}));
  EXPECT_EQ(fake_->draws[2].at, (Vec2{0.0f, 16.0f}));
  EXPECT_EQ(fake_->draws[3].at, (Vec2{0.0f, 32.0f}));
}

TEST_F(TextLayoutTest, ShortLineStandsOnTheLineBottom) {
  node_->Layout(testing::Record(testing::FontRun(u"F", 20), testing::FontRun(u"F", 8),
                                testing::Utf16Run(u"a")));
  // Line height 8 from the last font run, cell 8 tall; a taller neighbour raises the line.
  fake_->sizes[u'b'] = {10.0f, 24.0f};
  node_->Layout(testing::Record(testing::FontRun(u"F", 8), testing::Utf16Run(u"ab")));
  node_->Draw(MatrixTransform(), Colour{}, 0, -1);
  ASSERT_EQ(fake_->draws.size(), 2u);
  EXPECT_EQ(fake_->draws[0].at, (Vec2{0.0f, 16.0f}));
  EXPECT_EQ(fake_->draws[1].at, (Vec2{10.0f, 0.0f}));
}

TEST_F(TextLayoutTest, DrawColourIsModulatedByEachGlyphsColour) {
  node_->Layout(testing::Record(testing::FontRun(u"F", 10), testing::ColourRun(kBlue),
                                testing::Utf16Run(u"a")));
  MatrixTransform world;
  world.SetTranslation(100.0f, 50.0f);
  node_->Draw(world, Colour{255, 255, 128, 255}, 0, -1);
  ASSERT_EQ(fake_->draws.size(), 1u);
  EXPECT_EQ(fake_->draws[0].colour, (Colour{0, 0, 128, 128}));
  EXPECT_EQ(fake_->draws[0].at, (Vec2{100.0f, 50.0f}));
}

TEST_F(TextLayoutTest, ParagraphsAreChosenClampedAndLimitedGlyphByGlyph) {
  node_->Layout(testing::Record(testing::FontRun(u"F", 10), testing::Utf16Run(u"ab\ncd"),
                                testing::Control(2), testing::Utf16Run(u"efg")));
  ASSERT_EQ(node_->paragraphs().size(), 2u);
  EXPECT_EQ(node_->GlyphCount(0), 4);
  EXPECT_EQ(node_->GlyphCount(1), 3);
  EXPECT_EQ(node_->ParagraphFor(5), 1);
  EXPECT_EQ(node_->ParagraphFor(-3), 0);

  auto drawn = [&](int32_t paragraph, int32_t limit) {
    fake_->draws.clear();
    node_->Draw(MatrixTransform(), Colour{}, paragraph, limit);
    return fake_->draws.size();
  };
  EXPECT_EQ(drawn(1, -1), 3u);
  EXPECT_EQ(drawn(5, -1), 3u);
  EXPECT_EQ(drawn(-3, -1), 4u);
  // Limit 3 on two lines of two: the first line and the first glyph of the second.
  EXPECT_EQ(drawn(0, 3), 3u);
  EXPECT_EQ(fake_->draws.back().at, (Vec2{0.0f, 10.0f}));
  // The limit is tested after drawing: 0 draws one glyph, like 1.
  EXPECT_EQ(drawn(0, 0), 1u);
  EXPECT_EQ(drawn(0, 1), 1u);
  EXPECT_EQ(drawn(0, 100), 4u);
  // The size covers the widest and the tallest paragraph.
  EXPECT_EQ(node_->size(), (Vec2{30.0f, 20.0f}));
}

TEST_F(TextLayoutTest, CommandsAttachToTheNextGlyphAndTrailingOnesStayPending) {
  node_->Layout(testing::Record(
      testing::FontRun(u"F", 10), testing::Control(4, 2.0f), testing::Control(5, 3.0f),
      testing::Utf16Run(u"a"), testing::Utf16Run(u"b"), testing::NamedControl(6, "next"),
      testing::Utf16Run(u"c"), testing::Control(5, 1.0f), testing::Control(9, 1.0f)));
  const GlyphPlacement* a = node_->PlacementAt(0, 0);
  const GlyphPlacement* b = node_->PlacementAt(0, 1);
  const GlyphPlacement* c = node_->PlacementAt(0, 2);
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ(node_->PlacementAt(0, 3), nullptr);
  EXPECT_EQ(node_->PlacementAt(0, -1), nullptr);
  ASSERT_EQ(a->commands.size(), 2u);
  EXPECT_EQ(a->commands[0].kind, TextCommand::Kind::kGlyphInterval);
  EXPECT_FLOAT_EQ(a->commands[0].value, 2.0f);
  EXPECT_EQ(a->commands[1].kind, TextCommand::Kind::kPause);
  EXPECT_TRUE(b->commands.empty());
  ASSERT_EQ(c->commands.size(), 1u);
  EXPECT_EQ(c->commands[0].kind, TextCommand::Kind::kJump);
  EXPECT_EQ(c->commands[0].name, EncodedText::FromNarrow("next"));
  // The pause after the last glyph has no glyph; the unknown sub-kind 9 adds nothing.
  EXPECT_EQ(node_->pending_commands().size(), 1u);
}

TEST_F(TextLayoutTest, NamedTextsComeFromTheLookup) {
  const EncodedText greeting = EncodedText::FromUtf16(u"hi");
  TextNode::TextLookup lookup = [&](const EncodedText& name) -> const EncodedText* {
    return name == EncodedText::FromNarrow("greeting") ? &greeting : nullptr;
  };
  const TextRecord record =
      testing::Record(testing::FontRun(u"F", 10), testing::NamedControl(3, "greeting"),
                      testing::NamedControl(3, "missing"));
  node_->Layout(record, lookup);
  EXPECT_EQ(node_->GlyphCount(0), 2);
  node_->Layout(record);
  EXPECT_EQ(node_->paragraphs().size(), 0u);
  EXPECT_EQ(node_->size(), (Vec2{0.0f, 0.0f}));
}

TEST_F(TextLayoutTest, GlyphsNeedAFontAndAKnownEncoding) {
  TextElementRecord other = testing::TextRun(EncodedText(7, std::vector<uint8_t>{'a', 'b'}));
  node_->Layout(testing::Record(testing::Utf16Run(u"before any font"), testing::FontRun(u"F", 10),
                                other, testing::Utf16Run(u"x")));
  EXPECT_EQ(node_->GlyphCount(0), 1);
  ASSERT_EQ(fake_->requests.size(), 1u);
  EXPECT_EQ(fake_->requests[0], (std::pair<int32_t, uint16_t>{0, u'x'}));
  // Nothing drawn for a node without paragraphs.
  node_->Layout(TextRecord{});
  node_->Draw(MatrixTransform(), Colour{}, 0, -1);
  EXPECT_TRUE(fake_->draws.empty());
}

TEST_F(TextLayoutTest, ShiftJisTextsGiveLeadAndTrailCodes) {
  // "あA" in code page 932: 0x82 0xA0, then 0x41.
  const EncodedText sjis(EncodedText::kShiftJis, std::vector<uint8_t>{0x82, 0xA0, 0x41});
  node_->Layout(testing::Record(testing::FontRun(u"F", 10), testing::TextRun(sjis)));
  ASSERT_EQ(fake_->requests.size(), 2u);
  EXPECT_EQ(fake_->requests[0], (std::pair<int32_t, uint16_t>{1, 0xA082}));
  EXPECT_EQ(fake_->requests[1], (std::pair<int32_t, uint16_t>{1, 0x41}));
}

TEST_F(TextLayoutTest, HugeAndInvalidPointSizesRegisterWithoutOverflow) {
  node_->Layout(testing::Record(testing::FontRun(u"F", 1e30f), testing::FontRun(u"F", -1e30f),
                                testing::FontRun(u"F", std::numeric_limits<float>::quiet_NaN()),
                                testing::FontRun(u"F", 12.9f)));
  ASSERT_EQ(fake_->fonts.size(), 4u);
  EXPECT_EQ(fake_->fonts[0].size, INT32_MAX);
  EXPECT_EQ(fake_->fonts[1].size, INT32_MIN);
  EXPECT_EQ(fake_->fonts[2].size, 0);
  EXPECT_EQ(fake_->fonts[3].size, 12);
}

}  // namespace
}  // namespace cva
