#include "scene/property_value.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "scene/keyframe.h"
#include "scene_bytes.h"

namespace cva {
namespace {

using testing::ExpectRoundTrip;
using testing::KeyHead;
using testing::WriteFloats;
using testing::WriteKeyHead;

struct ValueCase {
  std::function<void(ByteWriter&)> write;  // the value's stored bytes
  PropertyValueRecord expected;            // what they read as
};

template <size_t I>
PropertyValueRecord Expect(PropertyFields<I> fields) {
  return PropertyValueRecord(std::in_place_index<I>, std::move(fields));
}

StoredText Sjis(const std::string& text) {
  return StoredText::From(EncodedText::FromNarrow(text));
}

// Distinct, non-default values for every property kind, so a field read into the wrong place
// shows up.
std::vector<ValueCase> AllValueCases() {
  std::vector<ValueCase> cases;
  cases.push_back({[](ByteWriter& o) { o.Int(7); }, Expect<0>({7})});
  cases.push_back({[](ByteWriter& o) { o.Byte(2), o.Byte(3), o.Byte(4); }, Expect<1>({2, 3, 4})});
  cases.push_back({[](ByteWriter& o) {
                     WriteFloats(o, {1.5f, -2.0f});
                     o.Byte(1);
                     o.Byte(3);  // three tangent values: the third is kept but unused
                     WriteFloats(o, {4.0f, 5.0f, 6.0f});
                   },
                   Expect<2>({{1.5f, -2.0f}, 1, {{4.0f}, {5.0f}, {6.0f}}})});
  cases.push_back({[](ByteWriter& o) {
                     o.Float(0.25f);
                     o.Byte(2);
                     o.Short(-3);
                   },
                   Expect<3>({0.25f, 2, -3})});
  cases.push_back({[](ByteWriter& o) { WriteFloats(o, {2.0f, 3.0f}); }, Expect<4>({{2.0f, 3.0f}})});
  cases.push_back({[](ByteWriter& o) { WriteFloats(o, {4.0f, 5.0f}); }, Expect<5>({{4.0f, 5.0f}})});
  cases.push_back({[](ByteWriter& o) { o.Int(128); }, Expect<6>({128})});
  cases.push_back({[](ByteWriter& o) { o.Byte(10), o.Byte(20), o.Byte(30), o.Byte(40); },
                   Expect<7>({{10, 20, 30, 40}})});
  {
    OnLoadJumpValue jump;
    jump.label_loaded = 5;
    jump.label_otherwise = 6;
    jump.check_all.raw = 2;  // a boolean byte of 2 is kept as it was
    jump.resources.stored_count = 2;
    jump.resources.items = {{11}, {12}};
    cases.push_back({[](ByteWriter& o) {
                       o.Short(5);
                       o.Short(6);
                       o.Byte(2);
                       o.Short(2);
                       o.Short(11);
                       o.Short(12);
                     },
                     Expect<8>(jump)});
  }
  cases.push_back({[](ByteWriter& o) { o.Int(-1); }, Expect<9>({-1})});
  cases.push_back({[](ByteWriter& o) { o.Byte(2), o.Byte(7); }, Expect<10>({2, 7})});
  cases.push_back({[](ByteWriter& o) {
                     WriteFloats(o, {0.5f, 0.25f});
                   },
                   Expect<11>({{0.5f, 0.25f}})});
  cases.push_back({[](ByteWriter& o) {
                     o.Byte(1);
                     o.Short(-2);
                     o.Byte(0);
                     o.Short(3);
                   },
                   Expect<12>({Flag(true), -2, Flag(false), 3})});
  cases.push_back({[](ByteWriter& o) { o.Int(123456); }, Expect<13>({123456})});
  cases.push_back({[](ByteWriter& o) {
                     for (int b : {1, 0, 3, 4, 5}) o.Byte(static_cast<uint8_t>(b));
                     for (int s : {-1, 2, 3, 4}) o.Short(static_cast<int16_t>(s));
                   },
                   Expect<14>({{1, 0, 3, 4, 5}, {-1, 2, 3, 4}})});
  cases.push_back(
      {[](ByteWriter& o) { testing::WriteSjisText(o, "scene"); }, Expect<15>({Sjis("scene")})});
  cases.push_back({[](ByteWriter& o) { o.Byte(1); }, Expect<16>({1})});
  cases.push_back({[](ByteWriter& o) {
                     o.Short(4);
                     o.Byte(9);
                   },
                   Expect<17>({4, 9})});
  cases.push_back({[](ByteWriter& o) { o.Int(500); }, Expect<18>({500})});
  cases.push_back({[](ByteWriter& o) { o.Int(-300); }, Expect<19>({-300})});
  cases.push_back({[](ByteWriter& o) { o.Byte(2); }, Expect<20>({2})});
  const auto corner = [](float base) {
    return [base](ByteWriter& o) {
      for (int i = 0; i < 6; ++i) o.Float(base + static_cast<float>(i));
    };
  };
  const auto corner_value = [](float base) {
    return CornerValue{{base, base + 1}, {base + 2, base + 3}, {base + 4, base + 5}};
  };
  cases.push_back({corner(10.0f), Expect<21>(corner_value(10.0f))});
  cases.push_back({corner(20.0f), Expect<22>(corner_value(20.0f))});
  cases.push_back({corner(30.0f), Expect<23>(corner_value(30.0f))});
  cases.push_back({corner(40.0f), Expect<24>(corner_value(40.0f))});
  {
    ParticleValue particle;
    particle.float_1 = 2.0f;
    particle.int_1 = 3;
    // The third stored code byte is the fourth code, the fourth byte the third code.
    particle.codes[0] = 4;
    particle.codes[1] = 5;
    particle.codes[3] = 6;
    particle.codes[2] = 7;
    particle.codes[4] = 8;
    particle.vec_1 = {9.0f, 10.0f};
    particle.float_2 = 11.0f;
    particle.float_3 = 12.0f;
    particle.vec_2 = {13.0f, 14.0f};
    particle.float_4 = 15.0f;
    particle.float_5 = 16.0f;
    cases.push_back({[](ByteWriter& o) {
                       o.Float(2.0f);
                       o.Int(3);
                       for (int b : {4, 5, 6, 7, 8}) o.Byte(static_cast<uint8_t>(b));
                       for (int f = 9; f <= 16; ++f) o.Float(static_cast<float>(f));
                     },
                     Expect<25>(particle)});
  }
  return cases;
}

TEST(PropertyValueRecords, EveryKindReadsIntoItsFieldsAndWritesBackIdentically) {
  const std::vector<ValueCase> cases = AllValueCases();
  ASSERT_EQ(cases.size(), static_cast<size_t>(kPropertyCount));
  for (int index = 0; index < kPropertyCount; ++index) {
    SCOPED_TRACE("property " + std::to_string(index));
    ByteWriter out;
    KeyHead head;
    head.property = static_cast<uint8_t>(index);
    head.duration = 3;
    WriteKeyHead(out, head);
    cases[static_cast<size_t>(index)].write(out);
    out.Byte(0);  // no ease points
    const KeyframeRecord key = ExpectRoundTrip<KeyframeRecord>(out.Take());
    EXPECT_EQ(key.value.index(), static_cast<size_t>(index));
    EXPECT_TRUE(key.value == cases[static_cast<size_t>(index)].expected);
  }
}

TEST(PropertyValueRecords, PositionTangentIsItsFirstTwoStoredValues) {
  PositionValue position;
  EXPECT_EQ(position.Tangent(), (Vec2{0.0f, 0.0f}));
  position.tangent_values = {{7.0f}};
  EXPECT_EQ(position.Tangent(), (Vec2{7.0f, 0.0f}));
  position.tangent_values = {{7.0f}, {8.0f}, {9.0f}};
  EXPECT_EQ(position.Tangent(), (Vec2{7.0f, 8.0f}));
}

TEST(CreatePropertyValue, GivesEachIndexItsOwnKindWithDefaults) {
  for (int index = 0; index < kPropertyCount; ++index) {
    std::unique_ptr<PropertyValue> value = CreatePropertyValue(index);
    ASSERT_NE(value, nullptr) << index;
    EXPECT_EQ(value->Index(), index);
    EXPECT_EQ(value->ToRecord().index(), static_cast<size_t>(index));
  }
  EXPECT_EQ(CreatePropertyValue(26), nullptr);
  EXPECT_EQ(CreatePropertyValue(-1), nullptr);
  EXPECT_EQ(CreatePropertyValue(255), nullptr);

  const auto v = [](int index) { return CreatePropertyValue(index); };
  EXPECT_EQ(*FieldsOf<1>(v(1).get()), (DrawCodesValue{0, 0, 0}));
  EXPECT_EQ(FieldsOf<4>(v(4).get())->scale, (Vec2{1.0f, 1.0f}));
  EXPECT_EQ(FieldsOf<6>(v(6).get())->threshold, 255);
  EXPECT_EQ(FieldsOf<7>(v(7).get())->colour, (Colour{255, 255, 255, 255}));
  EXPECT_EQ(FieldsOf<8>(v(8).get())->label_loaded, -1);
  EXPECT_EQ(FieldsOf<8>(v(8).get())->label_otherwise, -1);
  EXPECT_EQ(*FieldsOf<12>(v(12).get()), (TexRepeatValue{Flag(false), 1, Flag(false), 1}));
  EXPECT_EQ(*FieldsOf<14>(v(14).get()), (NumberFormatValue{{0, 2, 2, 2, 2}, {5, 0, 0, 0}}));
  EXPECT_EQ(*FieldsOf<17>(v(17).get()), (ParagraphValue{0, 1}));
  EXPECT_EQ(FieldsOf<18>(v(18).get())->value, 1000);
  const ParticleValue particle = *FieldsOf<25>(v(25).get());
  EXPECT_EQ(particle.float_1, 1.0f);
  EXPECT_EQ(std::vector<uint8_t>(particle.codes, particle.codes + 5),
            (std::vector<uint8_t>{1, 1, 2, 1, 2}));
  EXPECT_EQ(particle.float_4, 1.0f);
  // A view of the wrong kind is refused.
  EXPECT_EQ(FieldsOf<2>(v(1).get()), nullptr);
}

TEST(PropertyValueApply, CodedKindsTakeOnlyNonZeroCodes) {
  auto holder = CreatePropertyValue(1);
  *FieldsOf<1>(holder.get()) = {1, 2, 3};
  auto key = CreatePropertyValue(1);
  *FieldsOf<1>(key.get()) = {0, 4, 0};
  holder->Apply(*key);
  EXPECT_EQ(*FieldsOf<1>(holder.get()), (DrawCodesValue{1, 4, 3}));
  holder->Assign(*key);
  EXPECT_EQ(*FieldsOf<1>(holder.get()), (DrawCodesValue{0, 4, 0}));

  // Property 14 merges its codes but takes its numbers as they are.
  auto format = CreatePropertyValue(14);
  auto format_key = CreatePropertyValue(14);
  *FieldsOf<14>(format_key.get()) = {{0, 1, 0, 3, 0}, {0, 7, 0, 9}};
  format->Apply(*format_key);
  EXPECT_EQ(*FieldsOf<14>(format.get()), (NumberFormatValue{{0, 1, 2, 3, 2}, {0, 7, 0, 9}}));

  // Property 25 merges its codes, takes the rest.
  auto particle = CreatePropertyValue(25);
  auto particle_key = CreatePropertyValue(25);
  ParticleValue& k = *FieldsOf<25>(particle_key.get());
  k.codes[0] = 0;
  k.codes[1] = 0;
  k.codes[2] = 9;
  k.codes[3] = 0;
  k.codes[4] = 0;
  k.float_1 = 0.0f;
  particle->Apply(*particle_key);
  const ParticleValue& p = *FieldsOf<25>(particle.get());
  EXPECT_EQ(std::vector<uint8_t>(p.codes, p.codes + 5), (std::vector<uint8_t>{1, 1, 9, 1, 2}));
  EXPECT_EQ(p.float_1, 0.0f);

  auto command = CreatePropertyValue(20);
  FieldsOf<20>(command.get())->command = 2;
  command->Apply(*CreatePropertyValue(20));
  EXPECT_EQ(FieldsOf<20>(command.get())->command, 2);
}

TEST(PropertyValueApply, PlainKindsTakeEveryFieldIncludingZeros) {
  auto holder = CreatePropertyValue(3);
  *FieldsOf<3>(holder.get()) = {1.0f, 2, 5};
  holder->Apply(*CreatePropertyValue(3));
  EXPECT_EQ(*FieldsOf<3>(holder.get()), (AngleValue{0.0f, 0, 0}));
}

TEST(PropertyValueApply, ValuesOfAnotherPropertyAreNeverTakenOver) {
  auto depth = CreatePropertyValue(0);
  FieldsOf<0>(depth.get())->depth = 12;
  auto threshold = CreatePropertyValue(6);  // also a single integer, but another property
  FieldsOf<6>(threshold.get())->threshold = 99;
  depth->Assign(*threshold);
  depth->Apply(*threshold);
  EXPECT_EQ(FieldsOf<0>(depth.get())->depth, 12);
  auto position = CreatePropertyValue(2);
  position->Apply(*CreatePropertyValue(15));
  EXPECT_EQ(FieldsOf<2>(position.get())->position, (Vec2{0.0f, 0.0f}));
}

TEST(PropertyValueClone, IsAnIndependentCopy) {
  auto label = CreatePropertyValue(15);
  FieldsOf<15>(label.get())->label = Sjis("start");
  auto copy = label->Clone();
  FieldsOf<15>(label.get())->label = Sjis("other");
  EXPECT_EQ(copy->Index(), 15);
  EXPECT_EQ(FieldsOf<15>(copy.get())->label.Decoded(), EncodedText::FromNarrow("start"));
  EXPECT_TRUE(CreatePropertyValue(copy->ToRecord())->ToRecord() == copy->ToRecord());
}

}  // namespace
}  // namespace cva
