#include "scene/objects/text_reveal.h"

#include <gtest/gtest.h>

#include <limits>

#include "render/matrix_transform.h"
#include "scene/text/text_node.h"
#include "text_fakes.h"
#include "text_records.h"

namespace cva {
namespace {

constexpr float kFrame = 100.0f;  // the timing value: the document's frame duration

class TextRevealTest : public ::testing::Test {
 protected:
  TextRevealTest()
      : node_(std::make_unique<testing::FakeTextPrimitive>(), std::make_unique<MatrixTransform>()),
        reveal_(kFrame),
        jump_([this](const EncodedText& label) { jumps_.push_back(label); }) {}

  template <class... E>
  void Lay(E... elements) {
    node_.Layout(testing::Record(testing::FontRun(u"F", 10), elements...));
  }

  TextNode node_;
  TextReveal reveal_;
  std::vector<EncodedText> jumps_;
  TextReveal::JumpSink jump_;
};

TEST_F(TextRevealTest, OneGlyphPerFrameDurationByDefault) {
  Lay(testing::Utf16Run(u"abcd"));
  EXPECT_EQ(reveal_.paragraph(), -1);
  EXPECT_FLOAT_EQ(reveal_.interval(), kFrame);
  reveal_.Advance(99.0f, node_, jump_);
  EXPECT_EQ(reveal_.count(), 0);
  reveal_.Advance(1.0f, node_, jump_);
  EXPECT_EQ(reveal_.count(), 1);
  reveal_.Advance(250.0f, node_, jump_);
  EXPECT_EQ(reveal_.count(), 3);
  EXPECT_FLOAT_EQ(reveal_.clock(), 50.0f);
}

TEST_F(TextRevealTest, IntervalAndPauseCommandsScaleTheFrameDuration) {
  // Four glyphs per frame from the start; a pause of 2 frames before the third glyph.
  Lay(testing::Control(4, 4.0f), testing::Utf16Run(u"ab"), testing::Control(5, 2.0f),
      testing::Utf16Run(u"cdef"));
  reveal_.Select(0, node_, jump_);
  EXPECT_FLOAT_EQ(reveal_.interval(), 25.0f);
  reveal_.Advance(25.0f, node_, jump_);
  EXPECT_EQ(reveal_.count(), 1);
  // The count becomes 2 and the pause attached to glyph 2 starts.
  reveal_.Advance(25.0f, node_, jump_);
  EXPECT_EQ(reveal_.count(), 2);
  EXPECT_FLOAT_EQ(reveal_.pause(), 200.0f);
  reveal_.Advance(150.0f, node_, jump_);
  EXPECT_EQ(reveal_.count(), 2);
  EXPECT_FLOAT_EQ(reveal_.pause(), 50.0f);
  // 50 ends the pause, the remaining 50 reveal two more glyphs.
  reveal_.Advance(100.0f, node_, jump_);
  EXPECT_EQ(reveal_.count(), 4);
  EXPECT_FLOAT_EQ(reveal_.pause(), 0.0f);
}

TEST_F(TextRevealTest, JumpCommandsRunWhenTheirGlyphIsReached) {
  Lay(testing::NamedControl(6, "first"), testing::Utf16Run(u"ab"),
      testing::NamedControl(6, "later"), testing::Utf16Run(u"c"));
  reveal_.Select(0, node_, jump_);
  ASSERT_EQ(jumps_.size(), 1u);
  EXPECT_EQ(jumps_[0], EncodedText::FromNarrow("first"));
  reveal_.Advance(100.0f, node_, jump_);
  EXPECT_EQ(jumps_.size(), 1u);
  reveal_.Advance(100.0f, node_, jump_);
  ASSERT_EQ(jumps_.size(), 2u);
  EXPECT_EQ(jumps_[1], EncodedText::FromNarrow("later"));
}

TEST_F(TextRevealTest, SelectingAParagraphRestartsFromNoGlyph) {
  Lay(testing::Utf16Run(u"abc"), testing::Control(2), testing::Control(4, 2.0f),
      testing::Utf16Run(u"de"));
  reveal_.Advance(200.0f, node_, jump_);
  EXPECT_EQ(reveal_.count(), 2);
  reveal_.Select(1, node_, jump_);
  EXPECT_EQ(reveal_.paragraph(), 1);
  EXPECT_EQ(reveal_.count(), 0);
  EXPECT_FLOAT_EQ(reveal_.interval(), 50.0f);
}

TEST_F(TextRevealTest, TimeAfterTheLastGlyphIsNotCarriedIntoTheNextParagraph) {
  Lay(testing::Control(4, 10.0f), testing::Utf16Run(u"ab"), testing::Control(2),
      testing::Utf16Run(u"cdefghijkl"));
  reveal_.Select(0, node_, jump_);
  for (int frame = 0; frame < 100; ++frame) reveal_.Advance(100.0f, node_, jump_);
  EXPECT_EQ(reveal_.count(), 2);
  EXPECT_FLOAT_EQ(reveal_.clock(), 0.0f);
  reveal_.Select(1, node_, jump_);
  reveal_.Advance(35.0f, node_, jump_);
  EXPECT_EQ(reveal_.count(), 3);
}

TEST_F(TextRevealTest, BadTimesAndValuesChangeNothing) {
  Lay(testing::Control(4, std::numeric_limits<float>::infinity()), testing::Utf16Run(u"abc"));
  reveal_.Select(0, node_, jump_);
  EXPECT_FLOAT_EQ(reveal_.interval(), kFrame);
  reveal_.Advance(-500.0f, node_, jump_);
  reveal_.Advance(std::numeric_limits<float>::quiet_NaN(), node_, jump_);
  EXPECT_EQ(reveal_.count(), 0);
  EXPECT_FLOAT_EQ(reveal_.clock(), 0.0f);
}

TEST_F(TextRevealTest, ResetReturnsToTheStartState) {
  Lay(testing::Control(4, 2.0f), testing::Control(5, 1.0f), testing::Utf16Run(u"abc"));
  reveal_.Select(0, node_, jump_);
  reveal_.Advance(130.0f, node_, jump_);
  reveal_.Reset();
  EXPECT_EQ(reveal_.paragraph(), -1);
  EXPECT_EQ(reveal_.count(), 0);
  EXPECT_FLOAT_EQ(reveal_.interval(), kFrame);
  EXPECT_FLOAT_EQ(reveal_.pause(), 0.0f);
  EXPECT_FLOAT_EQ(reveal_.clock(), 0.0f);
}

}  // namespace
}  // namespace cva
