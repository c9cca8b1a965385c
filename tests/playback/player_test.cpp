// The Player: the objects it builds are wired to each other (provider, input state, draw state,
// host, load listener, frame step and clock), and it tears them down safely with a document
// playing.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "playback_fixture.h"
#include "player/player.h"
#include "player/player_load_listener.h"

namespace cva::testing {
namespace {

using ::testing::ElementsAre;

TEST(PlayerTest, PlaysTheStartDocumentThroughItsOwnObjects) {
  RecordingServices services;
  services.files["doc.cva"] = BytesOf(MakeDocument(Node(0)));
  RecordingProvider graphics;
  ColourLog colours;
  LabelLog labels;
  Player player(std::make_unique<ComposedProvider>(graphics), graphics, colours);
  player.set_label_listener(&labels);
  player.clock().SetFixedStep(10);
  player.StartLoad(EncodedText::FromNarrow("doc.cva"), EncodedText::FromNarrow("start"));
  for (uint32_t now = 0; now < 10 && !player.host().document(); ++now) player.RunFrame(now);
  ASSERT_NE(player.host().scene(), nullptr);
  EXPECT_THAT(colours.colours, ElementsAre(Colour{10, 20, 30, 255}));
  EXPECT_TRUE(services.messages.empty());

  player.input().MoveTo(5.0f, 6.0f);
  graphics.Clear();
  player.RunFrame(1000);
  EXPECT_EQ(player.pointer().position, (Vec2{5.0f, 6.0f}));
  EXPECT_EQ(player.last_step(), 10.0f);
  EXPECT_FLOAT_EQ(player.host().scene()->time(), 10.0f);
  EXPECT_FALSE(graphics.records().empty());  // drawn with the player's draw state
  EXPECT_THAT(labels.labels, ElementsAre(0));

  // The load listener checks the label the document was asked to start at.
  player.StartLoad(EncodedText::FromNarrow("doc.cva"), EncodedText::FromNarrow("nope"));
  for (int i = 0; i < 10 && player.host().pending_loader(); ++i) player.RunFrame();
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.messages[0].text, MissingLabelText(EncodedText::FromNarrow("nope")));
}

}  // namespace
}  // namespace cva::testing
