// Every condition, played through the player's frame step with pointer input from a script.
// Node 'target' counts in document variable N the frames in which condition N held.
#include <algorithm>
#include <array>

#include "trace_rig.h"

namespace cva::testing {
namespace {

// The pointer reaches the scene one frame late: the hit pass of a frame uses the position the
// previous frame took from the input.
constexpr const char* kScript =
    "1 move 30 30   # over 'target' only\n"
    "3 move 10 10   # over 'cover', which lies on 'target'\n"
    "5 down left\n"
    "6 move 100 100 # over nothing\n"
    "7 up left\n";

class ConditionsTraceTest : public TraceTest {
 protected:
  void SetUp() override { frames = Trace(Options("trace_conditions.cva", 9), kScript); }
  std::vector<trace::FrameTrace> frames;
};

TEST_F(ConditionsTraceTest, EveryConditionHoldsInExactlyTheFramesItShould) {
  ASSERT_EQ(frames.size(), 9u);
  // Counters of conditions 1 to 14 after frames 2 to 8 (the checks start at frame 2, once the
  // start label has placed the nodes).
  constexpr std::array<std::array<int32_t, 14>, 7> kExpected = {{
      // 1  2  3  4  5  6  7  8  9 10 11 12 13 14
      {1, 1, 0, 1, 1, 1, 1, 1, 1, 0, 0, 1, 0, 0},  // 2: target topmost, pointer still
      {2, 2, 0, 2, 2, 2, 2, 2, 1, 0, 0, 2, 0, 1},  // 3: pointer moved
      {2, 3, 0, 3, 3, 3, 3, 3, 1, 0, 0, 3, 1, 1},  // 4: covered; label 1001 queued
      {2, 4, 0, 4, 4, 4, 4, 4, 1, 1, 1, 3, 1, 1},  // 5: left button went down
      {2, 5, 0, 5, 5, 5, 5, 5, 1, 2, 1, 3, 1, 2},  // 6: held, moved away
      {2, 5, 1, 6, 6, 6, 6, 6, 1, 2, 1, 4, 1, 2},  // 7: not under the pointer, released
      {2, 5, 2, 7, 7, 7, 7, 7, 1, 2, 1, 5, 1, 2},  // 8
  }};
  for (size_t i = 0; i < kExpected.size(); ++i) {
    const trace::FrameTrace& frame = frames[i + 2];
    for (int32_t condition = 1; condition <= 14; ++condition)
      EXPECT_EQ(DocVar(frame, condition), kExpected[i][condition - 1])
          << "condition " << condition << " after frame " << frame.frame;
  }
  // Nothing counts before the start label was entered.
  for (int32_t condition = 1; condition <= 14; ++condition)
    EXPECT_EQ(DocVar(frames[1], condition), 0) << condition;
}

TEST_F(ConditionsTraceTest, CasesThatMustNotHoldNeverCount) {
  const trace::FrameTrace& last = frames.back();
  EXPECT_EQ(DocVar(last, 21), 0) << "overlap with a node far away";
  EXPECT_EQ(DocVar(last, 22), 0) << "a point outside counted as inside";
  EXPECT_EQ(DocVar(last, 23), 0) << "a point inside counted as outside";
  EXPECT_EQ(DocVar(last, 24), 0) << "bits 6 are not all set in 5";
  EXPECT_EQ(DocVar(last, 25), 0) << "bit 4 is set in 5";
  EXPECT_EQ(DocVar(last, 26), 0) << "overlap with a node that does not exist";
  // A disabled condition is skipped: the enabled hit test alone decides (as condition 1).
  EXPECT_EQ(DocVar(last, 27), DocVar(last, 1));
}

TEST_F(ConditionsTraceTest, HitStatesFollowThePointerOneFrameLate) {
  auto hit = [&](int frame, int32_t node) { return frames[frame].Node(node)->hit_state; };
  // Frame 2 tests (30, 30): only 'target' (0..40) is there; 'far' was moved away at frame 1.
  EXPECT_EQ(hit(2, 1), 1);
  EXPECT_EQ(hit(2, 2), 0);
  EXPECT_EQ(hit(3, 1), 1);
  // Frame 4 tests (10, 10): 'cover' is drawn after 'target', so it is on top.
  EXPECT_EQ(hit(4, 2), 1);
  EXPECT_EQ(hit(4, 1), 2);
  EXPECT_EQ(hit(4, 3), 0);
  EXPECT_EQ(hit(6, 1), 2);
  // Frame 7 tests (100, 100): nothing is hit.
  EXPECT_EQ(hit(7, 1), 0);
  EXPECT_EQ(hit(7, 2), 0);
  // The pointer as the controllers saw it.
  EXPECT_EQ(frames[5].buttons, 1);
  EXPECT_EQ(frames[5].pressed, 1);
  EXPECT_EQ(frames[6].pressed, 0);
  EXPECT_TRUE(frames[6].moved);
  EXPECT_FALSE(frames[7].moved);
  EXPECT_EQ(frames[6].pointer.x, 100.0f);
}

TEST_F(ConditionsTraceTest, AQueuedLabelIsSeenByConditionThirteenAndJumpedToInTheSameFrame) {
  ASSERT_EQ(frames[4].jumps.size(), 1u);
  EXPECT_EQ(frames[4].jumps[0].label, 1001);
  EXPECT_EQ(frames[4].jumps[0].name, "queued");
  EXPECT_EQ(frames[4].label, 1001);
  EXPECT_TRUE(frames[5].jumps.empty());
  // The start label's jump happens in frame 1, after that frame's controllers ran.
  ASSERT_EQ(frames[1].jumps.size(), 1u);
  EXPECT_EQ(frames[1].jumps[0].name, "default");
  EXPECT_TRUE(frames[0].jumps.empty());
}

TEST_F(ConditionsTraceTest, AnInvisibleNodeFailsTheConditionsThatNeedAVisibleNode) {
  const trace::FrameTrace& last = frames.back();
  const trace::NodeTrace* ghost = last.Node(4);
  ASSERT_NE(ghost, nullptr);
  EXPECT_EQ(ghost->visibility, 2);
  // Out of the draw list, it keeps the hit state of frame 1, when it was still drawn at the
  // pointer; the hit conditions must not take that state for a hit.
  EXPECT_EQ(ghost->hit_state, 1);
  EXPECT_EQ(std::count(last.draw_list.begin(), last.draw_list.end(), 4), 0);
  for (int32_t condition : {1, 2, 3, 4, 5, 6})
    EXPECT_EQ(last.Variable(trace::VariableTrace::Scope::kController, condition, 4), 0)
        << "condition " << condition;
}

}  // namespace
}  // namespace cva::testing
