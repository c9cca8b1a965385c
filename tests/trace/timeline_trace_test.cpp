// Loops, stops, the clock and the draws of a rectangle and an image, seen in traces.
#include "trace_rig.h"

namespace cva::testing {
namespace {

using TimelineTraceTest = TraceTest;

TEST_F(TimelineTraceTest, ACountedLoopPlaysTwiceAndAStopKeyframeHoldsForEver) {
  const auto frames = Trace(Options("trace_timeline.cva", 16));
  ASSERT_EQ(frames.size(), 16u);
  // Keyframes without easing switch at their end: x = 0 (loop start), 20 after 2 frames, 40
  // after 2 more (loop end, 1 repeat: back to the start over 2 frames), then 100 after 1 frame
  // (stop), never reaching the keyframe after the stop.
  const float expected_x[] = {0, 0, 20, 20, 40, 40, 0, 0, 20, 20, 40, 100, 100, 100, 100, 100};
  for (const trace::FrameTrace& frame : frames) {
    const trace::NodeTrace* looper = frame.Node(1);
    EXPECT_FLOAT_EQ(looper->world.e, expected_x[frame.frame]) << "frame " << frame.frame;
  }
}

TEST_F(TimelineTraceTest, RectangleAndImageDrawWithWorldMatrixColourAndTextureShift) {
  const auto frames = Trace(Options("trace_timeline.cva", 3));
  const trace::FrameTrace& frame = frames[2];
  // The root places nothing but is in the draw list; only nodes with an instance draw.
  EXPECT_EQ(frame.draw_list, (std::vector<int32_t>{0, 1, 2}));
  const std::vector<DrawRecord> draws = DrawsOf(frame);
  ASSERT_EQ(draws.size(), 2u);

  // The rectangle: scaled by 2 across at (20, 5); node colour (200, 100, 50) over the object's
  // (255, 128, 0): 200, 100 * 128 / 255 = 50 (truncated), 0.
  const DrawRecord& quad = draws[0];
  EXPECT_EQ(quad.kind, DrawRecord::Kind::kSolidQuad);
  EXPECT_EQ(trace::Affine::Of(quad.world), (trace::Affine{2, 0, 0, 1, 20, 5}));
  EXPECT_EQ(quad.colour, (Colour{200, 50, 0, 255}));

  // The image: at (50, 60), node colour alpha 128 over the object's (128, 255, 255, 255), and
  // a texture transform shifting by property 11's (0.5, 0.25).
  const DrawRecord& sprite = draws[1];
  EXPECT_EQ(sprite.kind, DrawRecord::Kind::kSprite);
  EXPECT_EQ(trace::Affine::Of(sprite.world), (trace::Affine{1, 0, 0, 1, 50, 60}));
  EXPECT_EQ(sprite.colour, (Colour{128, 255, 255, 128}));
  EXPECT_EQ(trace::Affine::OfTexture(sprite.texture), (trace::Affine{1, 0, 0, 1, 0.5f, 0.25f}));

  // The outlines come from the instances' sizes: the rectangle's 40 x 30, the image's 32 x 16.
  const trace::NodeTrace* looper = frame.Node(1);
  ASSERT_TRUE(looper->outline);
  EXPECT_EQ((*looper->outline)[2], (Vec2{100.0f, 35.0f}));
  const trace::NodeTrace* picture = frame.Node(2);
  ASSERT_TRUE(picture->outline);
  EXPECT_EQ((*picture->outline)[2], (Vec2{82.0f, 76.0f}));
  EXPECT_EQ(picture->object, 2);
  // The root places nothing and has no outline.
  EXPECT_FALSE(frame.Node(0)->outline);
}

TEST_F(TimelineTraceTest, BeforeTheStartLabelTheObjectsDrawWithTheirOwnColours) {
  const auto frames = Trace(Options("trace_timeline.cva", 1));
  const std::vector<DrawRecord> draws = DrawsOf(frames[0]);
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(draws[0].colour, (Colour{255, 128, 0, 255}));
  EXPECT_EQ(draws[1].colour, (Colour{128, 255, 255, 255}));
  EXPECT_EQ(trace::Affine::OfTexture(draws[1].texture), trace::Affine{});
  EXPECT_EQ(frames[0].label, -1);
}

TEST_F(TimelineTraceTest, FixedStepAndSimulatedRealTimeClocks) {
  auto fixed = Trace(Options("trace_timeline.cva", 4, 40));
  for (const trace::FrameTrace& frame : fixed) EXPECT_EQ(frame.step, 40.0f);
  // Frame 0 only made the document current; the clock runs from frame 1.
  EXPECT_EQ(fixed[3].time, 120.0f);
  EXPECT_EQ(fixed[3].scene_frame, 1);  // trunc(120 / 100)

  trace::TraceOptions options = Options("trace_timeline.cva", 4, 25);
  options.clock = trace::TraceOptions::Clock::kRealTime;
  auto real_time = Trace(options);
  // The frames that loaded the document came first (the very first of them advanced by 0), so
  // every traced frame advances by the 25 the tick count moved.
  for (const trace::FrameTrace& frame : real_time) EXPECT_EQ(frame.step, 25.0f);
  EXPECT_EQ(real_time[3].time, 75.0f);
}

TEST_F(TimelineTraceTest, SoundCommandsReachTheStreamOncePerKeyframe) {
  const auto frames = Trace(Options("trace_sound.cva", 5));
  ASSERT_EQ(frames.size(), 5u);
  // Describes each frame's calls as "kind:value" strings.
  auto calls = [](const trace::FrameTrace& frame) {
    std::vector<std::string> out;
    for (const SoundCall& call : frame.sounds) {
      EXPECT_EQ(call.sound, "click.wav");
      EXPECT_EQ(call.stream, 0);  // one stream, created on the first draw
      switch (call.kind) {
        case SoundCall::Kind::kSetVolume:
          out.push_back("volume:" + std::to_string(call.value));
          break;
        case SoundCall::Kind::kSetPan:
          out.push_back("pan:" + std::to_string(call.value));
          break;
        case SoundCall::Kind::kPlay:
          out.push_back(std::string("play:") + (call.loop ? "loop" : "once"));
          EXPECT_EQ(call.start, 0.25f);
          break;
        case SoundCall::Kind::kPlayRange:
          out.push_back("play_range");
          break;
        case SoundCall::Kind::kStop:
          out.push_back("stop");
          break;
      }
    }
    return out;
  };
  using V = std::vector<std::string>;
  // Frame 0 shows the document before its start label runs: nothing is commanded yet.
  EXPECT_EQ(calls(frames[0]), (V{"volume:1000", "pan:0"}));
  // The start keyframe's command plays once (a negative length plays from the start).
  EXPECT_EQ(calls(frames[1]), (V{"volume:1000", "pan:0", "play:once"}));
  // Without ease points values hold until their keyframe, reached two frames into the label
  // (the start frame already advanced one): the stop runs once; volume and pan are set on
  // every draw.
  EXPECT_EQ(calls(frames[2]), (V{"volume:500", "pan:-300", "stop"}));
  EXPECT_EQ(calls(frames[3]), (V{"volume:500", "pan:-300"}));
  EXPECT_EQ(calls(frames[4]), (V{"volume:500", "pan:-300"}));
}

}  // namespace
}  // namespace cva::testing
