#include "scene/keyframe.h"

#include <gtest/gtest.h>

#include "scene/keyframe_table.h"
#include "scene/motion.h"
#include "scene_bytes.h"

namespace cva {
namespace {

using testing::ExpectRoundTrip;
using testing::KeyHead;
using testing::ReadRecord;
using testing::WriteDepthKey;
using testing::WriteKeyHead;
using testing::WriteRecord;

std::vector<uint8_t> EasePointBytes(float x, float y, uint8_t curve) {
  ByteWriter out;
  out.Float(x);
  out.Float(y);
  out.Byte(curve);
  if (curve == 3) testing::WriteFloats(out, {1.0f, 2.0f, 3.0f, 4.0f});
  if (curve == 4) testing::WriteFloats(out, {5.0f, 6.0f});
  return out.Take();
}

TEST(EasePointRecord, EachCurveCodeReadsItsOwnFieldsAndWritesBack) {
  for (uint8_t curve : {0, 1, 2, 5, 200}) {
    const EasePointRecord point =
        ExpectRoundTrip<EasePointRecord>(EasePointBytes(0.5f, 0.75f, curve));
    EXPECT_EQ(point.x, 0.5f);
    EXPECT_EQ(point.y, 0.75f);
    EXPECT_EQ(point.curve, curve);
  }
  const EasePointRecord hermite = ExpectRoundTrip<EasePointRecord>(EasePointBytes(1, 1, 3));
  EXPECT_EQ(hermite.end_tangent, (Vec2{1.0f, 2.0f}));  // the end tangent is stored first
  EXPECT_EQ(hermite.start_tangent, (Vec2{3.0f, 4.0f}));
  const EasePointRecord saw = ExpectRoundTrip<EasePointRecord>(EasePointBytes(1, 1, 4));
  EXPECT_EQ(saw.frequency, 5.0f);
  EXPECT_EQ(saw.amplitude, 6.0f);
}

TEST(EasePoint, CurvesAreCreatedForCodesOneToFourOnly) {
  for (uint8_t code : {0, 5, 255}) {
    EasePointRecord record;
    record.curve = code;
    EXPECT_EQ(CreateEaseCurve(record), nullptr) << int(code);
  }
  EasePointRecord record;
  record.start_tangent = {3.0f, 4.0f};
  record.end_tangent = {1.0f, 2.0f};
  record.frequency = 5.0f;
  record.amplitude = 6.0f;
  const EaseCurveKind kinds[] = {EaseCurveKind::kLinear, EaseCurveKind::kHoldToEnd,
                                 EaseCurveKind::kHermite, EaseCurveKind::kSaw};
  for (EaseCurveKind kind : kinds) {
    record.curve = static_cast<uint8_t>(kind);
    const EasePoint point = EasePoint::FromRecord(record);
    ASSERT_NE(point.curve, nullptr);
    EXPECT_EQ(point.curve->Kind(), kind);
  }
  record.curve = 3;
  const EasePoint hermite = EasePoint::FromRecord(record);
  const auto& curve = static_cast<const HermiteCurve&>(*hermite.curve);
  EXPECT_EQ(curve.start_tangent(), (Vec2{3.0f, 4.0f}));
  EXPECT_EQ(curve.end_tangent(), (Vec2{1.0f, 2.0f}));
}

TEST(KeyframeRecord, LabelIndexIsStoredOnlyWithALabel) {
  ByteWriter with_label;
  KeyHead head{"go", 1000, 12, 1, 2, 1, 0, -1, 24};
  WriteKeyHead(with_label, head);
  with_label.Int(5);
  with_label.Byte(2);  // two ease points
  with_label.Bytes(EasePointBytes(0.0f, 0.0f, 1));
  with_label.Bytes(EasePointBytes(1.0f, 1.0f, 3));
  const KeyframeRecord key = ExpectRoundTrip<KeyframeRecord>(with_label.Take());
  EXPECT_EQ(key.label.Decoded(), EncodedText::FromNarrow("go"));
  EXPECT_EQ(key.label_index, 1000);
  EXPECT_EQ(key.duration, 12);
  EXPECT_TRUE(key.instant.on());
  EXPECT_EQ(key.jump, 2);
  EXPECT_EQ(key.inheritance, 1);
  EXPECT_EQ(key.loop_count, -1);
  EXPECT_EQ(key.loop_back_frames, 24);
  EXPECT_EQ(std::get<0>(key.value).depth, 5);
  ASSERT_EQ(key.ease.size(), 2u);
  EXPECT_EQ(key.ease[1].curve, 3);

  // Without a label the duration follows the label's length at once.
  ByteWriter no_label;
  WriteDepthKey(no_label, KeyHead{"", 0, 7}, 3);
  const KeyframeRecord plain = ExpectRoundTrip<KeyframeRecord>(no_label.Take());
  EXPECT_FALSE(plain.has_label());
  EXPECT_EQ(plain.label_index, -1);
  EXPECT_EQ(plain.duration, 7);
}

TEST(KeyframeRecord, PropertyIndexAbove25IsMalformedAtItsOffset) {
  ByteWriter out;
  KeyHead head{"", 0, 1};
  head.property = 26;
  WriteKeyHead(out, head);
  out.Int(0);
  out.Byte(0);
  KeyframeRecord key;
  const testing::ReadResult result = ReadRecord(out.Take(), key);
  EXPECT_FALSE(result.ok);
  // Label length (2), duration (2), instant, jump, inheritance: the property byte is at 7,
  // and the failure is reported right after it.
  EXPECT_EQ(result.error_offset, 8u);
  EXPECT_NE(result.error.find("unknown property index 26"), std::string::npos) << result.error;
  EXPECT_NE(result.error.find("record"), std::string::npos) << result.error;
}

TEST(KeyframeRecord, WritingAValueOfAnotherPropertyFails) {
  KeyframeRecord key;
  key.property = 3;  // the value still holds property 0
  ByteWriter out;
  WriteVisitor visitor(out);
  visitor.Record("key", key);
  EXPECT_FALSE(visitor.ok());

  key.property = 30;
  WriteVisitor again(out);
  again.Record("key", key);
  EXPECT_FALSE(again.ok());
}

TEST(KeyframeRecord, EaseCountAboveTheDataFailsWithoutReadingPastIt) {
  ByteWriter out;
  WriteKeyHead(out, KeyHead{"", 0, 1});
  out.Int(0);
  out.Byte(255);  // 255 ease points announced, one present
  out.Bytes(EasePointBytes(0.0f, 0.0f, 0));
  KeyframeRecord key;
  EXPECT_FALSE(ReadRecord(out.Take(), key).ok);
  EXPECT_LE(key.ease.size(), 2u);
}

TEST(Keyframe, IsBuiltFromItsRecord) {
  ByteWriter out;
  WriteKeyHead(out, KeyHead{"mark", 3, 10, 0, 3, 2, 7, 4, 9});
  for (uint8_t b : {1, 2, 3, 4}) out.Byte(b);
  out.Byte(1);
  out.Bytes(EasePointBytes(1.0f, 0.5f, 4));
  const KeyframeRecord record = ExpectRoundTrip<KeyframeRecord>(out.Take());
  const Keyframe key = Keyframe::FromRecord(record);
  EXPECT_EQ(key.label, EncodedText::FromNarrow("mark"));
  EXPECT_EQ(key.duration, 10);
  EXPECT_FALSE(key.instant);
  EXPECT_EQ(key.jump, Keyframe::kStop);
  EXPECT_EQ(key.inheritance, Keyframe::kInheritOff);
  EXPECT_EQ(key.property, 7);
  EXPECT_EQ(key.loop_count, 4);
  EXPECT_EQ(key.loop_back_frames, 9);
  ASSERT_NE(key.value, nullptr);
  EXPECT_EQ(FieldsOf<7>(key.value.get())->colour, (Colour{1, 2, 3, 4}));
  ASSERT_EQ(key.ease.size(), 1u);
  EXPECT_EQ(key.ease[0].y, 0.5f);
  ASSERT_NE(key.ease[0].curve, nullptr);
  EXPECT_EQ(key.ease[0].curve->Kind(), EaseCurveKind::kSaw);
}

// A motion of property 0 with keyframes labelled as given ("" for none), label index i*10+1.
std::vector<uint8_t> DepthMotionBytes(const std::vector<std::string>& labels) {
  ByteWriter out;
  out.Byte(0);
  out.Short(static_cast<int16_t>(labels.size()));
  for (size_t i = 0; i < labels.size(); ++i) {
    WriteDepthKey(out, KeyHead{labels[i], static_cast<int16_t>(i * 10 + 1), 2},
                  static_cast<int32_t>(i));
  }
  return out.Take();
}

TEST(Motion, EntersLabelledKeyframesIntoTheKeyframeTable) {
  const MotionRecord record = ExpectRoundTrip<MotionRecord>(DepthMotionBytes({"a", "", "c"}));
  KeyframeTable table;
  const std::unique_ptr<Motion> motion = Motion::FromRecord(record, &table);
  EXPECT_EQ(motion->property(), 0);
  ASSERT_EQ(motion->size(), 3u);
  EXPECT_EQ(table.size(), 2u);
  EXPECT_EQ(table.Find(1), &motion->keyframes()[0]);
  EXPECT_EQ(table.Find(21), &motion->keyframes()[2]);
  EXPECT_EQ(table.Find(11), nullptr);  // the unlabelled keyframe's index is not stored
  EXPECT_EQ(FieldsOf<0>(table.Find(21)->value.get())->depth, 2);
  for (const Keyframe& key : motion->keyframes()) EXPECT_TRUE(key.value_applies);
}

TEST(Motion, LaterKeyframeWithTheSameLabelIndexTakesTheEntry) {
  KeyframeTable table;
  const auto first =
      Motion::FromRecord(ExpectRoundTrip<MotionRecord>(DepthMotionBytes({"a"})), &table);
  const auto second =
      Motion::FromRecord(ExpectRoundTrip<MotionRecord>(DepthMotionBytes({"b"})), &table);
  EXPECT_EQ(table.size(), 1u);
  EXPECT_EQ(table.Find(1), &second->keyframes()[0]);
}

TEST(Motion, KeyframesOfAnotherPropertyKeepTheirPlaceButNeverApply) {
  ByteWriter out;
  out.Byte(7);  // a colour motion
  out.Short(2);
  KeyHead colour_key{"", 0, 4};
  colour_key.property = 7;
  WriteKeyHead(out, colour_key);
  for (uint8_t b : {9, 9, 9, 9}) out.Byte(b);
  out.Byte(0);
  WriteDepthKey(out, KeyHead{"", 0, 6}, 5);  // a depth keyframe inside the colour motion
  const MotionRecord record = ExpectRoundTrip<MotionRecord>(out.Take());
  const std::unique_ptr<Motion> motion = Motion::FromRecord(record, nullptr);
  ASSERT_EQ(motion->size(), 2u);
  EXPECT_TRUE(motion->keyframes()[0].value_applies);
  EXPECT_FALSE(motion->keyframes()[1].value_applies);
  EXPECT_EQ(motion->keyframes()[1].duration, 6);

  // Even if applied, a depth value never reaches a colour holder.
  auto holder = CreatePropertyValue(7);
  holder->Apply(*motion->keyframes()[1].value);
  EXPECT_EQ(FieldsOf<7>(holder.get())->colour, (Colour{255, 255, 255, 255}));
}

TEST(MotionRecord, NegativeKeyframeCountIsEmptyAndKept) {
  ByteWriter out;
  out.Byte(4);
  out.Short(-3);
  const MotionRecord record = ExpectRoundTrip<MotionRecord>(out.Take());
  EXPECT_TRUE(record.keyframes.empty());
}

}  // namespace
}  // namespace cva
