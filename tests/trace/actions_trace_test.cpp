// Every action, played through the player's frame step: node 'mover' runs at frame N the
// actions of its handler for tick N (document variable 1 counts the frames).
#include "trace_rig.h"

namespace cva::testing {
namespace {

class ActionsTraceTest : public TraceTest {
 protected:
  void SetUp() override { frames = Trace(Options("trace_actions.cva", 12)); }
  std::vector<trace::FrameTrace> frames;
};

TEST_F(ActionsTraceTest, BitAndArithmeticActionsChangeTheirVariables) {
  ASSERT_EQ(frames.size(), 12u);
  // Tick 1: 1 | 6, and 3 := 7.
  EXPECT_EQ(DocVar(frames[1], 2), 7);
  EXPECT_EQ(DocVar(frames[1], 3), 7);
  // Tick 2: 7 & ~2; 7 + 5; 20 - 3.
  EXPECT_EQ(DocVar(frames[2], 2), 5);
  EXPECT_EQ(DocVar(frames[2], 3), 12);
  EXPECT_EQ(DocVar(frames[2], 4), 17);
  // Tick 3: 12 * 3 / 5; 17 % 5.
  EXPECT_EQ(DocVar(frames[3], 3), 7);
  EXPECT_EQ(DocVar(frames[3], 5), 2);
  // Tick 4: cleared; division and remainder by 0 leave their values.
  EXPECT_EQ(DocVar(frames[4], 2), 0);
  EXPECT_EQ(DocVar(frames[4], 3), 7);
  EXPECT_EQ(DocVar(frames[4], 5), 2);
  // Tick 4: + 25 on two variables ranged 0..10: through the variable's own setting (clamped)
  // and directly on the stored value (not clamped).
  EXPECT_EQ(DocVar(frames[4], 7), 10);
  EXPECT_EQ(DocVar(frames[4], 8), 25);
  // Every frame from 1 on ran the tick counter once.
  for (const trace::FrameTrace& frame : frames) EXPECT_EQ(DocVar(frame, 1), frame.frame);
}

TEST_F(ActionsTraceTest, FreezeStopsTheNodesTracksAndResumeContinuesWhereTheyStood) {
  // The mover goes from x = 0 to 100 over 10 frames; frozen by tick 5, resumed by tick 8.
  const float expected_x[] = {0, 10, 20, 30, 40, 40, 40, 40, 50, 60, 70, 80};
  for (const trace::FrameTrace& frame : frames) {
    const trace::NodeTrace* mover = frame.Node(1);
    EXPECT_NEAR(mover->world.e, expected_x[frame.frame], 1e-3) << "frame " << frame.frame;
    EXPECT_EQ(mover->frozen, frame.frame >= 5 && frame.frame < 8) << "frame " << frame.frame;
    EXPECT_FALSE(mover->suspended);
  }
}

TEST_F(ActionsTraceTest, LabelRequestsJumpOnceAndTheEmbeddedSceneLabelDoesNotJumpHere) {
  std::vector<std::pair<int32_t, int32_t>> jumps;  // (frame, label)
  for (const trace::FrameTrace& frame : frames)
    for (const trace::JumpTrace& jump : frame.jumps) jumps.emplace_back(frame.frame, jump.label);
  // Tick 9 asks for label "third" of an embedded scene the node does not have: no jump. Tick
  // 10 requests "third" twice: one jump.
  const std::vector<std::pair<int32_t, int32_t>> expected = {{1, 1000}, {7, 1001}, {10, 1002}};
  EXPECT_EQ(jumps, expected);
  // The jumped-to labels recolour node 'painted'.
  EXPECT_EQ(frames[6].Node(3)->colour, (Colour{255, 255, 255, 255}));
  EXPECT_EQ(frames[7].Node(3)->colour, (Colour{0, 0, 255, 255}));
  EXPECT_EQ(frames[10].Node(3)->colour, (Colour{0, 255, 0, 255}));
  EXPECT_EQ(frames[11].label, 1002);
  EXPECT_EQ(frames[11].label_name, "third");
}

TEST_F(ActionsTraceTest, DebugTextAndActionsWithoutBehaviourLeaveTheRestOfTheListRunning) {
  for (const trace::FrameTrace& frame : frames) {
    if (frame.frame == 6) {
      EXPECT_EQ(frame.debug, std::vector<std::string>{"hello from the mover"});
    } else {
      EXPECT_TRUE(frame.debug.empty()) << "frame " << frame.frame;
    }
  }
  // Actions 3, 5, 6 and 12 come before the count; the disabled + 100 after it is skipped.
  EXPECT_EQ(DocVar(frames[5], 6), 0);
  EXPECT_EQ(DocVar(frames[6], 6), 1);
  EXPECT_EQ(DocVar(frames.back(), 6), 1);
}

TEST_F(ActionsTraceTest, WritingNodePropertiesMovesTurnsAndRecoloursTheNode) {
  const trace::NodeTrace* before = frames[2].Node(2);
  EXPECT_EQ(before->world, trace::Affine{});
  const trace::NodeTrace* after = frames[3].Node(2);
  // x := 100, angle := 90 degrees, green := 0.
  EXPECT_NEAR(after->world.a, 0.0f, 1e-5);
  EXPECT_NEAR(after->world.b, 1.0f, 1e-5);
  EXPECT_NEAR(after->world.c, -1.0f, 1e-5);
  EXPECT_NEAR(after->world.d, 0.0f, 1e-5);
  EXPECT_FLOAT_EQ(after->world.e, 100.0f);
  EXPECT_FLOAT_EQ(after->world.f, 0.0f);
  EXPECT_EQ(after->colour, (Colour{255, 0, 255, 255}));
  // The written values stay: the node has no track that would overwrite them.
  EXPECT_EQ(frames.back().Node(2)->world, after->world);
}

}  // namespace
}  // namespace cva::testing
