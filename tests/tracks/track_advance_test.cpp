#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <vector>

#include "scene/track_numeric.h"
#include "track_fixture.h"

namespace cva {
namespace {

using testing::DepthKey;
using testing::Eased;
using ::testing::ElementsAre;
using testing::Instant;
using testing::Key;
using testing::LinearEase;
using testing::Point;
using testing::TrackBench;
using testing::WithJump;

constexpr float kFrame = 10.0f;  // milliseconds per frame in these tests
constexpr uint8_t kLoopStart = Keyframe::kLoopStart;
constexpr uint8_t kLoopEnd = Keyframe::kLoopEnd;
constexpr uint8_t kStop = Keyframe::kStop;

KeyframeRecord WithInheritance(KeyframeRecord key, uint8_t inheritance) {
  key.inheritance = inheritance;
  return key;
}

TEST(TrackAdvanceTest, WithoutAMotionNothingHappens) {
  TrackBench bench(0);
  EXPECT_FALSE(bench.Advance(kFrame, 16));
  bench.Play({});
  EXPECT_FALSE(bench.Advance(kFrame, 16));  // an empty motion never starts
  EXPECT_EQ(bench.track().key_index(), PropertyTrack::kNotStarted);
}

TEST(TrackAdvanceTest, EasedSegmentBlendsThenAppliesItsKeyframeAndFinishes) {
  TrackBench bench(0);
  bench.Play({Eased(DepthKey(10, 100))});
  EXPECT_TRUE(bench.Advance(kFrame, 0));
  EXPECT_EQ(bench.depth(), 0);
  EXPECT_TRUE(bench.Advance(kFrame, 25));
  EXPECT_EQ(bench.depth(), 25);
  EXPECT_FALSE(bench.track().passed_key());
  EXPECT_TRUE(bench.Advance(kFrame, 50));
  EXPECT_EQ(bench.depth(), 75);
  EXPECT_TRUE(bench.Advance(kFrame, 30));
  EXPECT_EQ(bench.depth(), 100);
  EXPECT_TRUE(bench.track().passed_key());
  EXPECT_EQ(bench.track().key_index(), PropertyTrack::kFinished);
  EXPECT_EQ(bench.events().finished, 1);
  EXPECT_FALSE(bench.Advance(kFrame, 10));
  EXPECT_EQ(bench.depth(), 100);  // the last value stays
}

// Rule programs may write the value of the keyframe a segment is easing toward; the track eases
// toward the new value from the next advance on.
TEST(TrackAdvanceTest, KeyframeValueWrittenDuringItsSegmentIsEasedTowardAtOnce) {
  TrackBench bench(0);
  bench.Play({Eased(DepthKey(10, 100))});
  EXPECT_TRUE(bench.Advance(kFrame, 25));
  EXPECT_EQ(bench.depth(), 25);
  FieldsOf<0>(bench.mutable_motion().keyframes()[0].value.get())->depth = 200;
  PropertyTrack::NoteKeyframeValueWritten();
  EXPECT_TRUE(bench.Advance(kFrame, 25));
  EXPECT_EQ(bench.depth(), 100);  // halfway from 0 to 200
  EXPECT_TRUE(bench.Advance(kFrame, 50));
  EXPECT_EQ(bench.depth(), 200);
}

TEST(TrackAdvanceTest, SegmentWithoutEaseHoldsThenSwitchesAndCarriesTheRemainder) {
  TrackBench bench(0);
  bench.Play({DepthKey(10, 100), DepthKey(5, 7)});
  bench.Advance(kFrame, 90);
  EXPECT_EQ(bench.depth(), 0);
  bench.Advance(kFrame, 20);  // 110 ms: the first keyframe is reached 10 ms ago
  EXPECT_EQ(bench.depth(), 100);
  EXPECT_FLOAT_EQ(bench.track().segment_time(), 10.0f);
  bench.Advance(kFrame, 39);
  EXPECT_EQ(bench.depth(), 100);
  bench.Advance(kFrame, 1);
  EXPECT_EQ(bench.depth(), 7);
}

TEST(TrackAdvanceTest, ZeroLengthKeyframesAreAllReachedInOneAdvance) {
  TrackBench bench(0);
  bench.Play({DepthKey(0, 1), DepthKey(0, 2), DepthKey(0, 3), DepthKey(4, 9)});
  EXPECT_TRUE(bench.Advance(kFrame, 0));
  EXPECT_THAT(bench.events().reached, ElementsAre(0, 1, 2));
  EXPECT_EQ(bench.depth(), 3);
  EXPECT_EQ(bench.track().key_index(), 3);
}

TEST(TrackAdvanceTest, LoopCountTwoPlaysTheStretchThreeTimesUsingTheLoopBackLength) {
  TrackBench bench(0);
  bench.Play({WithJump(DepthKey(1, 1), kLoopStart), DepthKey(1, 2),
              WithJump(DepthKey(1, 3), kLoopEnd, 2, 2), DepthKey(1, 4)});
  // 4 frames for the first pass and the last keyframe, 2 repeats of 2 + 1 + 1 frames.
  bench.Advance(kFrame, 115);
  EXPECT_THAT(bench.events().reached, ElementsAre(0, 1, 2, 0, 1, 2, 0, 1, 2));
  EXPECT_TRUE(bench.track().loops().empty());
  EXPECT_EQ(bench.events().finished, 0);
  bench.Advance(kFrame, 5);
  EXPECT_EQ(bench.events().finished, 1);
  EXPECT_EQ(bench.depth(), 4);
}

TEST(TrackAdvanceTest, LoopForeverNeverFinishes) {
  TrackBench bench(0);
  bench.Play({WithJump(DepthKey(1, 1), kLoopStart), WithJump(DepthKey(2, 2), kLoopEnd, -1, 1),
              DepthKey(1, 3)});
  for (int i = 0; i < 50; ++i) EXPECT_TRUE(bench.Advance(kFrame, 1000));
  EXPECT_EQ(bench.events().finished, 0);
  EXPECT_EQ(bench.track().loops().size(), 1u);
  // 50 s of 10 ms frames with a repeated stretch of 1 + 2 frames.
  EXPECT_NEAR(static_cast<double>(bench.events().reached.size()), 2 * 5000.0 / 3, 2);
}

TEST(TrackAdvanceTest, NestedLoopsRepeatTheInnerLoopOnEveryOuterPass) {
  TrackBench bench(0);
  bench.Play({WithJump(DepthKey(1, 1), kLoopStart), WithJump(DepthKey(1, 2), kLoopStart),
              WithJump(DepthKey(1, 3), kLoopEnd, 1, 1), WithJump(DepthKey(1, 4), kLoopEnd, 1, 1),
              DepthKey(1, 5)});
  bench.Advance(kFrame, 10000);
  EXPECT_THAT(bench.events().reached, ElementsAre(0, 1, 2, 1, 2, 3, 0, 1, 2, 1, 2, 3, 4));
  EXPECT_EQ(bench.events().finished, 1);
}

TEST(TrackAdvanceTest, StopKeyframeHoldsForEverAndIgnoresItsInheritance) {
  TrackBench bench(0);
  bench.Play(
      {DepthKey(2, 50), WithInheritance(WithJump(DepthKey(3, 80), kStop), 2), DepthKey(1, 999)});
  bench.Advance(kFrame, 20);
  EXPECT_EQ(bench.depth(), 50);
  bench.Advance(kFrame, 35);
  EXPECT_EQ(bench.depth(), 80);
  EXPECT_TRUE(bench.track().inherit());
  EXPECT_FLOAT_EQ(bench.track().segment_time(), 5.0f);
  // Something else changes the value; the stop keyframe re-applies it when its time comes
  // round again.
  FieldsOf<0>(&bench.holder())->depth = 12;
  bench.Advance(kFrame, 20);
  EXPECT_EQ(bench.depth(), 12);
  EXPECT_FALSE(bench.track().passed_key());
  bench.Advance(kFrame, 5);
  EXPECT_EQ(bench.depth(), 80);
  EXPECT_TRUE(bench.track().passed_key());
  EXPECT_FLOAT_EQ(bench.track().segment_time(), 0.0f);
  bench.Advance(kFrame, 1000);  // one re-application per advance
  EXPECT_THAT(bench.events().reached, ElementsAre(0, 1, 1, 1));
  EXPECT_EQ(bench.track().key_index(), 1);
  EXPECT_TRUE(bench.track().inherit());
  EXPECT_EQ(bench.events().finished, 0);
}

TEST(TrackAdvanceTest, EasePointsStoppingShortHoldTheirLastValue) {
  TrackBench bench(0);
  bench.Play({Eased(DepthKey(10, 100), {Point(0, 0, EaseCurveKind::kNone),
                                        Point(0.5f, 0.8f, EaseCurveKind::kLinear)})});
  bench.Advance(kFrame, 25);
  EXPECT_EQ(bench.depth(), 40);
  bench.Advance(kFrame, 50);
  EXPECT_EQ(bench.depth(), 80);
}

TEST(TrackAdvanceTest, InstantKeyframesFireTheirActionsWhenTheirTimeComes) {
  TrackBench bench(0);
  bench.Play({Instant(WithInheritance(DepthKey(3, 55), 2)), Eased(DepthKey(10, 130)),
              WithInheritance(DepthKey(1, 0), 1)});
  bench.Advance(kFrame, 20);
  EXPECT_TRUE(bench.track().inherit());
  EXPECT_EQ(bench.track().pending().size(), 1u);
  EXPECT_EQ(bench.track().segment_frames(), 13);  // the instant keyframe's frames count too
  bench.Advance(kFrame, 15);
  EXPECT_FALSE(bench.track().inherit());
  EXPECT_TRUE(bench.track().pending().empty());
  EXPECT_EQ(bench.depth(), 35);  // the instant keyframe's value is never applied
  EXPECT_TRUE(bench.events().reached.empty());
  bench.Advance(kFrame, 105);
  EXPECT_TRUE(bench.track().inherit());
  EXPECT_THAT(bench.events().reached, ElementsAre(1, 2));
}

TEST(TrackAdvanceTest, InstantLoopEndJumpsBackFromInsideASegment) {
  TrackBench bench(0);
  bench.Play({WithJump(DepthKey(2, 10), kLoopStart),
              Instant(WithJump(DepthKey(1, 0), kLoopEnd, 1, 2)), DepthKey(5, 20)});
  for (int i = 0; i < 12; ++i) bench.Advance(kFrame, 10);
  EXPECT_THAT(bench.events().reached, ElementsAre(0, 0, 2));
  EXPECT_EQ(bench.events().finished, 1);
}

TEST(TrackAdvanceTest, KeyframeOfAnotherPropertyKeepsItsTimingAndActionsOnly) {
  TrackBench bench(0);
  KeyframeRecord scale = WithInheritance(
      Key(5, PropertyValueRecord(std::in_place_index<4>, ScaleValue{{3.0f, 3.0f}})), 2);
  bench.Play({DepthKey(1, 8), Eased(scale), DepthKey(2, 9)});
  bench.Advance(kFrame, 10);
  EXPECT_EQ(bench.depth(), 8);
  bench.Advance(kFrame, 30);  // inside the other property's segment: no blend towards it
  EXPECT_EQ(bench.depth(), 8);
  bench.Advance(kFrame, 20);
  EXPECT_EQ(bench.depth(), 8);
  EXPECT_FALSE(bench.track().inherit());
  EXPECT_THAT(bench.events().reached, ElementsAre(0, 1));
  bench.Advance(kFrame, 20);
  EXPECT_EQ(bench.depth(), 9);
}

TEST(TrackAdvanceTest, HermitePathComesFromTheHeldPathMode) {
  TrackBench bench(2);
  PositionValue curved;
  curved.position = {0, 0};
  curved.path_mode = 1;
  curved.tangent_values = {FloatEntry{10}, FloatEntry{0}};
  PositionValue end;
  end.position = {100, 0};
  end.tangent_values = {FloatEntry{0}, FloatEntry{10}};
  bench.Play({Key(0, PropertyValueRecord(std::in_place_index<2>, curved)),
              Eased(Key(10, PropertyValueRecord(std::in_place_index<2>, end)))});
  bench.Advance(kFrame, 50);
  EXPECT_FLOAT_EQ(bench.value<2>().position.x, 53.75f);
  EXPECT_FLOAT_EQ(bench.value<2>().position.y, -3.75f);
  bench.Advance(kFrame, 50);
  EXPECT_EQ(bench.value<2>().position, (Vec2{100, 0}));
  EXPECT_EQ(bench.value<2>().path_mode, 0);
}

TEST(TrackAdvanceTest, ColourOvershootingEaseIsClamped) {
  TrackBench bench(7);
  bench.Play(
      {Key(0, PropertyValueRecord(std::in_place_index<7>, ColourValue{{200, 10, 0, 0}})),
       Eased(Key(10, PropertyValueRecord(std::in_place_index<7>, ColourValue{{250, 0, 0, 0}})),
             {Point(0, 0, EaseCurveKind::kNone), Point(0.5f, 3.0f, EaseCurveKind::kLinear),
              Point(1, 1, EaseCurveKind::kLinear)})});
  bench.Advance(kFrame, 50);  // eased fraction 3: 200 + 150 and 10 - 30
  EXPECT_EQ(bench.value<7>().colour, (Colour{255, 0, 0, 0}));
}

// The faults: none of these may hang or compute with undefined values.

TEST(TrackAdvanceFaultTest, ZeroLengthLoopForeverRepeatsOncePerAdvance) {
  TrackBench bench(0);
  bench.Play({WithJump(DepthKey(0, 1), kLoopStart), DepthKey(0, 2),
              WithJump(DepthKey(0, 3), kLoopEnd, -1, 0), DepthKey(1, 4)});
  EXPECT_TRUE(bench.Advance(kFrame, 16));
  EXPECT_THAT(bench.events().reached, ElementsAre(0, 1, 2));
  EXPECT_TRUE(bench.Advance(kFrame, 16));
  EXPECT_THAT(bench.events().reached, ElementsAre(0, 1, 2, 0, 1, 2));
  EXPECT_EQ(bench.depth(), 3);
  EXPECT_EQ(bench.events().finished, 0);
}

TEST(TrackAdvanceFaultTest, UnusableFrameLengthsMakeEverySegmentInstantWithoutHanging) {
  for (float frame : {0.0f, -5.0f, std::nanf(""), std::numeric_limits<float>::infinity()}) {
    TrackBench bench(0);
    bench.Play({WithJump(DepthKey(3, 1), kLoopStart), Eased(DepthKey(4, 2)),
                WithJump(DepthKey(2, 3), kLoopEnd, -1, 5), DepthKey(1, 4)});
    EXPECT_TRUE(bench.Advance(frame, 16)) << frame;
    EXPECT_TRUE(bench.Advance(frame, 16)) << frame;
    EXPECT_EQ(bench.depth(), 3) << frame;
    EXPECT_TRUE(std::isfinite(bench.track().segment_time())) << frame;
    EXPECT_LE(bench.events().reached.size(), 6u) << frame;
  }
}

TEST(TrackAdvanceFaultTest, UnusableElapsedTimesCountAsNone) {
  for (float dt : {-50.0f, std::nanf(""), std::numeric_limits<float>::infinity()}) {
    TrackBench bench(0);
    bench.Play({Eased(DepthKey(10, 100)), DepthKey(1, 5)});
    bench.Advance(kFrame, 30);
    EXPECT_TRUE(bench.Advance(kFrame, dt)) << dt;
    EXPECT_FLOAT_EQ(bench.track().segment_time(), 30.0f) << dt;
    EXPECT_EQ(bench.depth(), 30) << dt;
  }
}

TEST(TrackAdvanceFaultTest, TinyFrameLengthLoopForeverDoesNotHang) {
  TrackBench bench(0);
  bench.Play({WithJump(DepthKey(1, 1), kLoopStart), WithJump(DepthKey(1, 2), kLoopEnd, -1, 1)});
  // Each repeat takes 1e-30 ms, which vanishes against 16 ms: no progress, so the advance ends.
  EXPECT_TRUE(bench.Advance(1e-30f, 16));
  EXPECT_LE(bench.events().reached.size(), 4u);
}

TEST(TrackAdvanceFaultTest, WorkPerAdvanceIsBoundedAndTheRestIsCaughtUpLater) {
  TrackBench bench(0);
  // Nested loops of zero length repeated 30000 x 30000 times: far too many for one frame.
  bench.Play({WithJump(DepthKey(0, 1), kLoopStart), WithJump(DepthKey(0, 2), kLoopStart),
              WithJump(DepthKey(0, 3), kLoopEnd, 30000, 0),
              WithJump(DepthKey(0, 4), kLoopEnd, 30000, 0), DepthKey(0, 5)});
  const auto started = std::chrono::steady_clock::now();
  EXPECT_TRUE(bench.Advance(kFrame, 16));
  EXPECT_EQ(bench.events().reached.size(),
            static_cast<size_t>(PropertyTrack::kMaxKeyframesPerAdvance));
  EXPECT_TRUE(bench.Advance(kFrame, 16));
  EXPECT_EQ(bench.events().reached.size(),
            2 * static_cast<size_t>(PropertyTrack::kMaxKeyframesPerAdvance));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
  EXPECT_EQ(bench.events().finished, 0);
}

TEST(TrackAdvanceFaultTest, NegativeDurationsDoNotGiveTimeBack) {
  TrackBench bench(0);
  bench.Play({DepthKey(-100, 1), WithJump(DepthKey(1, 2), kLoopStart),
              WithJump(DepthKey(1, 3), kLoopEnd, -1, -1000)});
  EXPECT_TRUE(bench.Advance(kFrame, 15));
  EXPECT_LE(bench.track().segment_time(), 15.0f);
  EXPECT_LE(bench.events().reached.size(), 5u);
}

TEST(FrameNumberTest, TruncatesAndNeverDividesByAnUnusableDuration) {
  EXPECT_EQ(FrameNumber(50.0f, 33.3f), 1);
  EXPECT_EQ(FrameNumber(99.8f, 33.3f), 2);
  EXPECT_EQ(FrameNumber(1000.0f, 0.0f), 0);
  EXPECT_EQ(FrameNumber(1000.0f, -10.0f), 0);
  EXPECT_EQ(FrameNumber(1000.0f, std::nanf("")), 0);
  EXPECT_EQ(FrameNumber(3e38f, 1e-30f), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(FrameNumber(std::nanf(""), 10.0f), 0);
}

TEST(FrameNumberTest, SaturatingTruncationCoversEveryFloat) {
  EXPECT_EQ(TruncateSaturated<int32_t>(-2.9), -2);
  EXPECT_EQ(TruncateSaturated<int32_t>(std::nan("")), 0);
  EXPECT_EQ(TruncateSaturated<int32_t>(1e300), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(TruncateSaturated<int16_t>(-1e9), std::numeric_limits<int16_t>::lowest());
  EXPECT_EQ(TruncateSaturated<int64_t>(-std::numeric_limits<double>::infinity()),
            std::numeric_limits<int64_t>::lowest());
}

}  // namespace
}  // namespace cva
