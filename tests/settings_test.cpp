#include <gtest/gtest.h>

#include "player/player_settings.h"
#include "stream/memory_reader.h"

namespace cva {
namespace {

PlayerSettings Read(const std::vector<uint8_t>& record, const AskFullScreen& ask = nullptr,
                    bool* complete = nullptr) {
  PlayerSettings s;
  MemoryReader r(record);
  const bool ok = ReadSettings(s, r, ask);
  if (complete) *complete = ok;
  return s;
}

PlayerSettings Sample() {
  PlayerSettings s;
  s.data_inside = false;
  s.fixed_step = false;
  s.width = 1024;
  s.height = -5;
  s.document_name = EncodedText::FromNarrow("a.cva");
  s.start_label = EncodedText::FromUtf16(u"スタート");
  s.step = 16;
  return s;
}

TEST(PlayerSettings, PlaceholderAndEmptyRecordKeepDefaults) {
  const PlayerSettings defaults;
  for (const auto& record : {std::vector<uint8_t>{0, 0, 0, 0}, std::vector<uint8_t>{}}) {
    bool asked = false;
    bool complete = false;
    const PlayerSettings s = Read(
        record, [&] { return asked = true; }, &complete);
    EXPECT_TRUE(complete);
    EXPECT_FALSE(asked);
    EXPECT_TRUE(s.windowed && s.data_inside && s.fixed_step);
    EXPECT_EQ(s.width, 640);
    EXPECT_EQ(s.height, 480);
    EXPECT_EQ(s.step, 10);
    EXPECT_EQ(s.document_name, EncodedText::FromNarrow("base.cva"));
    EXPECT_EQ(s.start_label, EncodedText::FromNarrow("default"));
    EXPECT_EQ(s.author, defaults.author);
  }
}

TEST(PlayerSettings, WrittenRecordReadsBack) {
  const PlayerSettings in = Sample();
  const auto record = WriteSettingsRecord(in, ScreenMode::kFullScreen);
  // present, mode, inside, fixed, width, height, "a.cva\0" with tag, label with tag, step
  ASSERT_EQ(record.size(), 4u + 8u + (2 + 1 + 6) + (2 + 1 + 10) + 4u);
  EXPECT_EQ(record[0], 1);
  EXPECT_EQ(record[1], 1);
  EXPECT_EQ(record[12], 6);  // byte count includes the terminator
  bool complete = false;
  const PlayerSettings out = Read(record, nullptr, &complete);
  EXPECT_TRUE(complete);
  EXPECT_FALSE(out.windowed);
  EXPECT_FALSE(out.data_inside);
  EXPECT_FALSE(out.fixed_step);
  EXPECT_EQ(out.width, 1024);
  EXPECT_EQ(out.height, -5);
  EXPECT_EQ(out.document_name, in.document_name);  // stored terminator not doubled
  EXPECT_EQ(out.start_label, in.start_label);
  EXPECT_NE(out.start_label, EncodedText::FromNarrow("\x83X\x83^\x81[\x83g"));
  EXPECT_EQ(out.step, 16);
}

TEST(PlayerSettings, ScreenModeAsksOnlyForOtherValues) {
  const PlayerSettings in = Sample();
  int asked = 0;
  auto no = [&] {
    ++asked;
    return false;
  };
  auto yes = [&] {
    ++asked;
    return true;
  };
  EXPECT_TRUE(Read(WriteSettingsRecord(in, ScreenMode::kWindow), yes).windowed);
  EXPECT_EQ(asked, 0);
  EXPECT_TRUE(Read(WriteSettingsRecord(in, ScreenMode::kAsk), no).windowed);
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(Read(WriteSettingsRecord(in, ScreenMode::kAsk), yes).windowed);
  EXPECT_EQ(asked, 2);
  auto record = WriteSettingsRecord(in, ScreenMode::kAsk);
  record[1] = 200;  // any value other than 0 and 1 asks
  EXPECT_FALSE(Read(record, yes).windowed);
  EXPECT_EQ(asked, 3);
}

TEST(PlayerSettings, ShortRecordKeepsDefaultsOfMissingFields) {
  const auto record = WriteSettingsRecord(Sample(), ScreenMode::kWindow);
  const PlayerSettings defaults;
  for (size_t cut = 1; cut < record.size(); ++cut) {
    std::vector<uint8_t> part(record.begin(), record.begin() + cut);
    bool complete = true;
    const PlayerSettings s = Read(part, nullptr, &complete);
    EXPECT_FALSE(complete) << cut;
    // A field is either taken whole or left at its default.
    EXPECT_TRUE(s.width == 1024 || s.width == defaults.width) << cut;
    EXPECT_EQ(s.width == 1024, cut >= 8) << cut;
    EXPECT_EQ(s.height == -5, cut >= 12) << cut;
    EXPECT_EQ(s.step, defaults.step) << cut;
    EXPECT_TRUE(s.document_name == defaults.document_name ||
                s.document_name == EncodedText::FromNarrow("a.cva"))
        << cut;
  }
}

}  // namespace
}  // namespace cva
