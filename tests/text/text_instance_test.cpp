// Text objects played in a document: the instance a node gets, its reveal by the document's
// frame duration, paragraph keyframes and the jumps its commands make.

#include "scene/objects/text_instance.h"

#include "playback/playback_fixture.h"
#include "scene/objects/simple_objects.h"
#include "scene/text/text_node.h"
#include "text_records.h"

namespace cva {
namespace {

using testing::Hold;
using testing::Label;
using testing::Node;

class TextInstanceTest : public ::testing::Test {
 protected:
  TextInstanceTest() {
    host_.set_draw_state(&draw_state_);
    host_.set_label_listener(&labels_);
  }

  // A document (10 ms frames) whose node 1 shows a text of two paragraphs, "abc" and "de";
  // reaching the glyph after "ab" jumps to label "other", where node 1 shows paragraph 1.
  void Load() {
    TextObjectRecord text;
    text.id = 0;
    text.colour = {255, 255, 255, 128};
    text.text =
        testing::Record(testing::FontRun(u"MS Gothic", 12), testing::ColourRun({255, 0, 0, 255}),
                        testing::Utf16Run(u"ab"), testing::NamedControl(6, "other"),
                        testing::Utf16Run(u"c"), testing::Control(2), testing::Utf16Run(u"de"));
    NodeRecord shown = Node(1, {Hold<17>(ParagraphValue{0, 1})});
    shown.object = 0;
    shown.labels.items.push_back(Label(1, {Hold<17>(ParagraphValue{1, 1})}));
    DocumentFile file = testing::MakeDocument(Node(0, {}, {shown}));
    testing::AddLabelName(file, 1, "other");
    file.objects.items.push_back({5, ObjectRecord(std::in_place_index<5>, text)});
    services_.files["doc.cva"] = testing::BytesOf(std::move(file));
    host_.StartLoad(EncodedText::FromNarrow("doc.cva"), EncodedText::FromNarrow("start"));
    for (int tick = 0; tick < 10 && !host_.document(); ++tick) host_.Advance(0.0f);
    ASSERT_NE(host_.document(), nullptr);
    SceneNode* node = host_.document()->root()->children().at(0).get();
    instance_ = dynamic_cast<TextInstance*>(node->instance());
    ASSERT_NE(instance_, nullptr);
    EXPECT_TRUE(node->display().HasProperty(17));
  }

  // Ticks by `dt` and returns how many glyphs were drawn.
  size_t TickAndDraw(float dt) {
    host_.Advance(dt);
    graphics_.Clear();
    host_.Draw();
    size_t glyphs = 0;
    for (const DrawRecord& draw : graphics_.Draws())
      if (draw.kind == DrawRecord::Kind::kGlyph) ++glyphs;
    return glyphs;
  }

  testing::RecordingServices services_;
  RecordingProvider graphics_;
  ComposedProvider provider_{graphics_};
  DrawState draw_state_{graphics_};
  PlaybackHost host_{provider_};
  testing::LabelLog labels_;
  TextInstance* instance_ = nullptr;
};

TEST_F(TextInstanceTest, RevealsOneGlyphPerFrameAndJumpsWhereItsCommandSays) {
  Load();
  EXPECT_FLOAT_EQ(instance_->reveal().timing(), 10.0f);
  EXPECT_EQ(TickAndDraw(0.0f), 1u);  // the first glyph shows from the start
  EXPECT_EQ(instance_->reveal().paragraph(), 0);
  EXPECT_EQ(instance_->reveal().count(), 0);
  EXPECT_EQ(TickAndDraw(10.0f), 1u);
  EXPECT_EQ(TickAndDraw(10.0f), 2u);
  // Glyph 2 ("c") carries the jump: label "other" selects paragraph 1 and restarts.
  ASSERT_EQ(instance_->reveal().count(), 2);
  EXPECT_THAT(labels_.names, ::testing::ElementsAre("start"));
  TickAndDraw(0.0f);
  EXPECT_THAT(labels_.names, ::testing::ElementsAre("start", "other"));
  EXPECT_EQ(instance_->reveal().paragraph(), 1);
  EXPECT_EQ(instance_->reveal().count(), 0);
  EXPECT_EQ(TickAndDraw(10.0f), 1u);
  EXPECT_EQ(TickAndDraw(10.0f), 2u);
  EXPECT_EQ(TickAndDraw(100.0f), 2u);
  // The node's colour (white) modulated by the text object's colour and the glyph's own.
  EXPECT_EQ(graphics_.Draws().back().colour, (Colour{255, 0, 0, 128}));
}

TEST_F(TextInstanceTest, JumpsOfAnEmbeddedPlaybackCopyGoToTheCopy) {
  Load();
  Document& source = *host_.document();
  std::string error;
  std::unique_ptr<Document> copy = Document::PlaybackCopy(source, error);
  ASSERT_NE(copy, nullptr) << error;
  auto* instance = dynamic_cast<TextInstance*>(copy->root()->children().at(0)->instance());
  ASSERT_NE(instance, nullptr);
  const std::vector<int32_t> source_queue = source.queued_labels();
  // Without a paragraph keyframe the first paragraph is revealed; glyph 2 carries the jump.
  instance->Update(10.0f);
  instance->Update(10.0f);
  ASSERT_EQ(instance->reveal().count(), 2);
  EXPECT_THAT(copy->queued_labels(), ::testing::ElementsAre(1));
  EXPECT_EQ(source.queued_labels(), source_queue);
}

TEST_F(TextInstanceTest, ResetRestartsTheReveal) {
  Load();
  TickAndDraw(0.0f);
  TickAndDraw(10.0f);
  ASSERT_EQ(instance_->reveal().count(), 1);
  instance_->Reset();
  EXPECT_EQ(instance_->reveal().count(), 0);
  EXPECT_EQ(instance_->reveal().paragraph(), -1);
}

}  // namespace
}  // namespace cva
