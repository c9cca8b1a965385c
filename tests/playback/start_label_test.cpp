// The player's reaction to its start document having loaded: clear colour and the exact text
// reporting a start label the document lacks.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "playback_fixture.h"
#include "player/player_load_listener.h"

namespace cva::testing {
namespace {

TEST(MissingLabelTextTest, ShiftJisNameWithItsBytesInHexadecimal) {
  EXPECT_EQ(MissingLabelText(EncodedText::FromNarrow("go")),
            "s-jis\ngo[3]\n67\u30006f\u3000"
            "0\u3000\nがアニメーション内に存在しません");
}

TEST(MissingLabelTextTest, Utf16NameBreaksTheHexLinesEverySixteenBytes) {
  // Nine units and the terminator: 20 bytes.
  const EncodedText name = EncodedText::FromUtf16(u"abcdefgh\u3042");
  std::string expected = "Utf16\nabcdefgh\u3042[20]\n";
  for (char c : std::string("abcdefgh")) {
    expected += [&] {
      char hex[3];
      std::snprintf(hex, sizeof hex, "%x", static_cast<unsigned>(c));
      return std::string(hex);
    }();
    expected +=
        "\u3000"
        "0\u3000";
  }
  expected += "\n42\u300030\u30000\u30000\u3000\nがアニメーション内に存在しません";
  EXPECT_EQ(MissingLabelText(name), expected);
}

class LoadListenerTest : public PlaybackTest {
 protected:
  void LoadWithListener(const EncodedText& label) {
    PlayerLoadListener listener(colours, label);
    host.set_load_listener(&listener);
    services.files["doc.cva"] = BytesOf(MakeDocument(Node(0)));
    host.StartLoad(EncodedText::FromNarrow("doc.cva"), label);
    for (int tick = 0; tick < 10 && !host.document(); ++tick) host.Advance(0.0f);
    host.set_load_listener(nullptr);
  }
  ColourLog colours;
};

TEST_F(LoadListenerTest, PresentLabelSetsTheOpaqueBackgroundAndShowsNothing) {
  LoadWithListener(EncodedText::FromNarrow("start"));
  EXPECT_THAT(colours.colours, ::testing::ElementsAre(Colour{10, 20, 30, 255}));
  EXPECT_TRUE(services.messages.empty());
}

TEST_F(LoadListenerTest, AbsentLabelIsReportedOnceAndPlaybackGoesOn) {
  LoadWithListener(EncodedText::FromNarrow("nope"));
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.messages[0].caption, "アニメーションリクエスト失敗");
  EXPECT_EQ(services.messages[0].text, MissingLabelText(EncodedText::FromNarrow("nope")));
  EXPECT_EQ(services.messages[0].buttons, Services::Buttons::kOk);
  EXPECT_EQ(colours.colours.size(), 1u);
  ASSERT_NE(host.scene(), nullptr);
  host.Advance(10.0f);
  EXPECT_FLOAT_EQ(host.scene()->time(), 10.0f);
}

TEST_F(LoadListenerTest, SameBytesInAnotherEncodingDoNotMatch) {
  // "start" as UTF-16 is not the Shift-JIS name stored in the document.
  LoadWithListener(EncodedText::FromUtf16(u"start"));
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.messages[0].text.substr(0, 6), "Utf16\n");
}

}  // namespace
}  // namespace cva::testing
