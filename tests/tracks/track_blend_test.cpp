#include "scene/track_blend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "scene/track_angle.h"

namespace cva {
namespace {

template <size_t I>
PropertyFields<I> Blended(PropertyFields<I> held, PropertyFields<I> start, PropertyFields<I> target,
                          float t) {
  TypedPropertyValue<I> value(held);
  Blend(value, TypedPropertyValue<I>(target), TypedPropertyValue<I>(start), t);
  return value.fields();
}

PositionValue Position(float x, float y, uint8_t mode, Vec2 tangent = {}) {
  PositionValue value;
  value.position = {x, y};
  value.path_mode = mode;
  value.tangent_values = {FloatEntry{tangent.x}, FloatEntry{tangent.y}};
  return value;
}

TEST(BlendTest, IntegersStepByTheTruncatedProduct) {
  EXPECT_EQ(Blended<0>({}, {10}, {20}, 0.55f).depth, 15);
  EXPECT_EQ(Blended<0>({}, {10}, {0}, 0.55f).depth, 5);  // -5.5 truncates toward zero
  TexRepeatValue from;
  TexRepeatValue to;
  to.count_x = 5;
  to.count_y = -3;
  to.mirror_x = true;
  const TexRepeatValue repeat = Blended<12>(from, from, to, 0.5f);
  EXPECT_EQ(repeat.count_x, 3);
  EXPECT_EQ(repeat.count_y, -1);
  EXPECT_FALSE(repeat.mirror_x.on());  // flags do not blend
}

TEST(BlendTest, IntegersSaturateInsteadOfOverflowing) {
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  EXPECT_EQ(Blended<0>({}, {kMin}, {kMax}, 2.0f).depth, kMax);
  EXPECT_EQ(Blended<0>({}, {kMax}, {kMin}, 2.0f).depth, kMin);
  EXPECT_EQ(Blended<13>({}, {0}, {kMax}, std::numeric_limits<float>::infinity()).value, kMax);
  EXPECT_EQ(Blended<18>({}, {7}, {9}, std::nanf("")).value, 7);  // NaN: no step
  TexRepeatValue from;
  from.count_x = -32768;
  TexRepeatValue to;
  to.count_x = 32767;
  EXPECT_EQ(Blended<12>(from, from, to, 5.0f).count_x, 32767);
}

TEST(BlendTest, ColourBytesStayWithinRange) {
  const ColourValue from{Colour{100, 200, 0, 255}};
  const ColourValue to{Colour{200, 250, 50, 0}};
  EXPECT_EQ(Blended<7>({}, from, to, 0.5f).colour, (Colour{150, 225, 25, 128}));
  EXPECT_EQ(Blended<7>({}, from, to, 2.0f).colour, (Colour{255, 255, 100, 0}));
  EXPECT_EQ(Blended<7>({}, from, to, -1.0f).colour, (Colour{0, 150, 0, 255}));
  EXPECT_EQ(Blended<7>({}, from, to, std::nanf("")).colour, from.colour);
}

// Every pair of bytes at fractions across [0, 1] and just outside it gives start plus the
// truncated step, clamped to a byte: one rule on both sides of the span.
TEST(BlendTest, ColourBytesFollowOneRuleInsideAndOutsideTheSpan) {
  const float fractions[] = {0.0f,
                             -0.0f,
                             1e-7f,
                             0.1f,
                             0.25f,
                             1.0f / 3.0f,
                             0.5f,
                             0.7f,
                             0.999999f,
                             1.0f,
                             std::nextafter(1.0f, 2.0f),
                             -1e-7f,
                             1.5f,
                             -0.5f};
  for (float t : fractions) {
    for (int from = 0; from < 256; from += 3) {
      for (int to = 0; to < 256; to += 5) {
        const auto byte = [](int v) { return static_cast<uint8_t>(v); };
        const double step = std::trunc(static_cast<double>(static_cast<float>(to - from) * t));
        const auto expected = byte(static_cast<int>(std::clamp(from + step, 0.0, 255.0)));
        const ColourValue a{Colour{byte(from), byte(to), 0, 0}};
        const ColourValue b{Colour{byte(to), byte(from), 0, 0}};
        const Colour blended = Blended<7>({}, a, b, t).colour;
        ASSERT_EQ(blended.red, expected) << from << " -> " << to << " at " << t;
        const double back = std::trunc(static_cast<double>(static_cast<float>(from - to) * t));
        ASSERT_EQ(blended.green, byte(static_cast<int>(std::clamp(to + back, 0.0, 255.0))));
      }
    }
  }
}

TEST(BlendTest, FloatsAndVectorsMoveLinearly) {
  EXPECT_EQ(Blended<4>({}, {{1, 1}}, {{3, -1}}, 0.25f).scale, (Vec2{1.5f, 0.5f}));
  EXPECT_EQ(Blended<5>({}, {{0, 0}}, {{8, 4}}, 0.5f).pivot, (Vec2{4, 2}));
  EXPECT_EQ(Blended<11>({}, {{0, 0}}, {{1, 1}}, 0.5f).offset, (Vec2{0.5f, 0.5f}));
  const CornerValue corner =
      Blended<23>({}, {{0, 0}, {2, 2}, {4, 4}}, {{10, 0}, {0, 2}, {0, 0}}, 0.5f);
  EXPECT_EQ(corner.position, (Vec2{5, 0}));
  EXPECT_EQ(corner.row_tangent, (Vec2{1, 2}));
  EXPECT_EQ(corner.column_tangent, (Vec2{2, 2}));
}

TEST(BlendTest, CodedAndTextualPropertiesDoNotBlend) {
  const DrawCodesValue held{1, 1, 3};
  EXPECT_EQ(Blended<1>(held, {0, 0, 0}, {2, 2, 2}, 0.5f), held);
  EXPECT_EQ(Blended<9>({3}, {0}, {10}, 0.5f).value, 3);  // image swap: same fields as a number
  EXPECT_EQ(Blended<20>({1}, {0}, {3}, 0.9f).command, 1);
}

TEST(BlendTest, ValuesOfDifferentPropertiesAreNotMixed) {
  TypedPropertyValue<0> depth(DepthValue{4});
  Blend(depth, TypedPropertyValue<6>(MaskThresholdValue{100}), TypedPropertyValue<0>(DepthValue{0}),
        1.0f);
  EXPECT_EQ(depth.fields().depth, 4);
}

TEST(BlendTest, PathModesFollowTheHeldValue) {
  const PositionValue start = Position(0, 0, 1, {10, 0});
  const PositionValue target = Position(100, 0, 0, {0, 10});
  // Hermite at t = 0.5: basis (0.5, 0.125, 0.5, -0.125), tangents scaled by 3.
  const Vec2 curved = Blended<2>(start, start, target, 0.5f).position;
  EXPECT_FLOAT_EQ(curved.x, 53.75f);
  EXPECT_FLOAT_EQ(curved.y, -3.75f);
  // The start tangent counts only when the start value is itself on a Hermite path.
  PositionValue straight_start = start;
  straight_start.path_mode = 0;
  const Vec2 no_start_tangent = Blended<2>(start, straight_start, target, 0.5f).position;
  EXPECT_FLOAT_EQ(no_start_tangent.x, 50.0f);
  EXPECT_FLOAT_EQ(no_start_tangent.y, -3.75f);
  // Mode 0 is straight, any other mode jumps to the target at once.
  EXPECT_EQ(Blended<2>(straight_start, start, target, 0.5f).position, (Vec2{50, 0}));
  PositionValue other_mode = start;
  other_mode.path_mode = 7;
  const PositionValue jumped = Blended<2>(other_mode, start, target, 0.1f);
  EXPECT_EQ(jumped.position, (Vec2{100, 0}));
  EXPECT_EQ(jumped.path_mode, 7);  // only the position changes
}

AngleValue Held(uint8_t mode, int16_t extra_turns = 0) {
  AngleValue value;
  value.direction_mode = mode;
  value.extra_turns = extra_turns;
  return value;
}

TEST(BlendTest, AngleModesChooseTheDirectionOfTurning) {
  // Short way from 0.1 to 6.2: backwards through 0, from 0.1 + one turn down to 6.2.
  EXPECT_FLOAT_EQ(BlendAngle(Held(0), 0.1f, 6.2f, 0.0f), 0.1f + kFullTurn);
  EXPECT_FLOAT_EQ(BlendAngle(Held(0), 0.1f, 6.2f, 1.0f), 6.2f);
  // Short way from 6.2 to 0.1: forwards past one turn.
  EXPECT_FLOAT_EQ(BlendAngle(Held(0), 6.2f, 0.1f, 1.0f), 0.1f + kFullTurn);
  EXPECT_FLOAT_EQ(BlendAngle(Held(0), 1.0f, 2.0f, 0.5f), 1.5f);
  // Always increasing, always decreasing.
  EXPECT_FLOAT_EQ(BlendAngle(Held(2), 0.1f, 6.2f, 0.5f), 3.15f);
  EXPECT_FLOAT_EQ(BlendAngle(Held(2), 6.2f, 0.1f, 1.0f), 0.1f + kFullTurn);
  EXPECT_FLOAT_EQ(BlendAngle(Held(1), 0.1f, 6.2f, 0.0f), 0.1f + kFullTurn);
  EXPECT_FLOAT_EQ(BlendAngle(Held(1), 6.2f, 0.1f, 0.5f), 3.15f);
  // Extra turns.
  EXPECT_FLOAT_EQ(BlendAngle(Held(2, 2), 0.0f, 1.0f, 1.0f), 1.0f + 2 * kFullTurn);
  EXPECT_FLOAT_EQ(BlendAngle(Held(1, 1), 1.0f, 0.0f, 0.0f), 1.0f + kFullTurn);
  // Mode 3 and others: straight from start to target.
  EXPECT_FLOAT_EQ(BlendAngle(Held(3), 0.1f, 6.2f, 0.5f), 3.15f);
  EXPECT_FLOAT_EQ(BlendAngle(Held(9, 4), 0.1f, 6.2f, 0.5f), 3.15f);
  // Through the property value, with the held value's mode.
  AngleValue held = Held(2);
  held.angle = 6.2f;
  EXPECT_FLOAT_EQ(Blended<3>(held, {6.2f, 0, 0}, {0.1f, 0, 0}, 0.5f).angle,
                  6.2f + (0.1f + kFullTurn - 6.2f) * 0.5f);
}

TEST(BlendTest, FacingAlongThePathUsesTheMovement) {
  AngleValue facing = Held(3);
  facing.angle = 1.0f;
  EXPECT_FLOAT_EQ(NodeAngle(facing, {0, 0}, {0, 5}), std::atan2(5.0f, 0.0f));
  EXPECT_FLOAT_EQ(NodeAngle(facing, {4, 4}, {0, 4}), std::atan2(0.0f, -4.0f));
  EXPECT_FLOAT_EQ(NodeAngle(facing, {2, 3}, {2, 3}), 0.0f);  // did not move
  AngleValue plain = Held(0);
  plain.angle = 1.0f;
  EXPECT_FLOAT_EQ(NodeAngle(plain, {0, 0}, {0, 5}), 1.0f);
}

}  // namespace
}  // namespace cva
