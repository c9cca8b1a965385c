#include "scene/ease_evaluation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "track_fixture.h"

namespace cva {
namespace {

using testing::Point;

std::vector<EasePoint> Points(const std::vector<EasePointRecord>& records) {
  return EasePointsFromRecords(records);
}

TEST(EvaluateEaseTest, EachCurveKindBetweenTwoPoints) {
  // No curve (and unknown codes): the previous point's value holds.
  for (EaseCurveKind none : {EaseCurveKind::kNone, static_cast<EaseCurveKind>(9)}) {
    EXPECT_FLOAT_EQ(EvaluateEase(Points({Point(0, 0.2f, none), Point(1, 1, none)}), 0.5f), 0.2f);
  }
  EXPECT_FLOAT_EQ(EvaluateEase(Points({Point(0, 0, EaseCurveKind::kNone),
                                       Point(1, 0.8f, EaseCurveKind::kLinear)}),
                               0.25f),
                  0.2f);
  const auto hold =
      Points({Point(0, 0.1f, EaseCurveKind::kNone), Point(1, 1, EaseCurveKind::kHoldToEnd)});
  EXPECT_FLOAT_EQ(EvaluateEase(hold, 0.99f), 0.1f);
  EXPECT_FLOAT_EQ(EvaluateEase(hold, 1.0f), 1.0f);

  // Hermite at u = 0.5: basis (0.5, 0.125, 0.5, -0.125) over y0 = 0, start tangent y 2,
  // y1 = 1, end tangent y -1.
  EasePointRecord hermite = Point(1, 1, EaseCurveKind::kHermite);
  hermite.start_tangent = {0.0f, 2.0f};
  hermite.end_tangent = {0.0f, -1.0f};
  EXPECT_FLOAT_EQ(EvaluateEase(Points({Point(0, 0, EaseCurveKind::kNone), hermite}), 0.5f), 0.875f);

  // Saw at u = 0.5: w = 0.1 x 30 x 0.5 = 1.5, so 0.5 x 0.2 x 1.5 on top of the line's 0.5.
  EasePointRecord saw = Point(1, 1, EaseCurveKind::kSaw);
  saw.frequency = 0.1f;
  saw.amplitude = 0.2f;
  EXPECT_NEAR(EvaluateEase(Points({Point(0, 0, EaseCurveKind::kNone), saw}), 0.5f), 0.65f, 1e-6f);
}

TEST(EvaluateEaseTest, CurvesUseTheStretchBetweenTheirTwoPoints) {
  const auto points =
      Points({Point(0, 0, EaseCurveKind::kNone), Point(0.5f, 1.0f, EaseCurveKind::kLinear),
              Point(1.0f, 0.0f, EaseCurveKind::kLinear)});
  EXPECT_FLOAT_EQ(EvaluateEase(points, 0.25f), 0.5f);
  EXPECT_FLOAT_EQ(EvaluateEase(points, 0.5f), 1.0f);
  EXPECT_FLOAT_EQ(EvaluateEase(points, 0.75f), 0.5f);
}

TEST(EvaluateEaseTest, PointsStoppingShortOfOneHoldTheLastValue) {
  const auto points =
      Points({Point(0, 0, EaseCurveKind::kNone), Point(0.5f, 0.8f, EaseCurveKind::kLinear)});
  EXPECT_FLOAT_EQ(EvaluateEase(points, 0.75f), 0.8f);
  EXPECT_FLOAT_EQ(EvaluateEase(points, 5.0f), 0.8f);
  EXPECT_FLOAT_EQ(EvaluateEase({}, 0.5f), 0.0f);
}

TEST(EvaluateEaseTest, FirstPointAboveTheFractionGivesItsOwnValue) {
  // Interpolating the first point against itself would be 0 / 0; its y is the answer.
  for (EaseCurveKind kind :
       {EaseCurveKind::kNone, EaseCurveKind::kLinear, EaseCurveKind::kHoldToEnd,
        EaseCurveKind::kHermite, EaseCurveKind::kSaw}) {
    const auto points = Points({Point(0.5f, 0.3f, kind), Point(1, 1, EaseCurveKind::kLinear)});
    const float value = EvaluateEase(points, 0.2f);
    EXPECT_FALSE(std::isnan(value)) << static_cast<int>(kind);
    EXPECT_FLOAT_EQ(value, 0.3f) << static_cast<int>(kind);
  }
}

// Tracks skip evaluating an ease they recognise as the straight line from (0, 0) to (1, 1) and
// use the fraction itself; that is only right when evaluating would give exactly the fraction.
TEST(EvaluateEaseTest, RecognisedStraightLineEvaluatesToTheFractionItself) {
  const std::vector<EasePoint> line =
      Points({Point(0, 0, EaseCurveKind::kNone), Point(1, 1, EaseCurveKind::kLinear)});
  ASSERT_TRUE(Keyframe::IsStraightLine(line));
  for (int i = 0; i < 100000; ++i) {
    const float x = static_cast<float>(i) / 100000.0f;
    ASSERT_EQ(EvaluateEase(line, x), x) << x;
  }
  ASSERT_EQ(EvaluateEase(line, std::nextafter(1.0f, 0.0f)), std::nextafter(1.0f, 0.0f));

  // Near misses are evaluated point by point.
  EXPECT_FALSE(Keyframe::IsStraightLine(
      Points({Point(0, 0, EaseCurveKind::kNone), Point(1, 1, EaseCurveKind::kHermite)})));
  EXPECT_FALSE(Keyframe::IsStraightLine(
      Points({Point(0, 0, EaseCurveKind::kNone), Point(1, 0.5f, EaseCurveKind::kLinear)})));
  EXPECT_FALSE(Keyframe::IsStraightLine(
      Points({Point(0, 0.1f, EaseCurveKind::kNone), Point(1, 1, EaseCurveKind::kLinear)})));
  EXPECT_FALSE(Keyframe::IsStraightLine(
      Points({Point(0, 0, EaseCurveKind::kNone), Point(0.5f, 0.5f, EaseCurveKind::kLinear),
              Point(1, 1, EaseCurveKind::kLinear)})));
}

}  // namespace
}  // namespace cva
