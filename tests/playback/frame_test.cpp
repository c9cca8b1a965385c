// The player's frame: clock modes, input and pointer state, and the order of one frame step.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "playback_fixture.h"
#include "player/frame_clock.h"
#include "player/input_state.h"
#include "player/player_frame.h"
#include "player/pointer_state.h"
#include "player/scene_passes.h"

namespace cva::testing {
namespace {

using ::testing::ElementsAre;

PositionValue At(float x, float y) {
  PositionValue value;
  value.position = {x, y};
  return value;
}

TEST(FrameClockTest, FirstRealTimeFrameAdvancesByZeroThenByElapsedTicks) {
  FrameClock clock;
  EXPECT_FALSE(clock.fixed_step());
  EXPECT_EQ(clock.Tick(5000), 0.0f);
  EXPECT_EQ(clock.Tick(5016), 16.0f);
  EXPECT_EQ(clock.Tick(5016), 0.0f);
  EXPECT_EQ(clock.Tick(5050), 34.0f);
}

TEST(FrameClockTest, TickCountWrapGivesTheSmallStep) {
  FrameClock clock;
  clock.Tick(0xFFFFFFF0u);
  EXPECT_EQ(clock.Tick(0x00000010u), 32.0f);
  // A frame whose tick count is all ones is a real previous frame, not "none".
  clock.Tick(0xFFFFFFFFu);
  EXPECT_EQ(clock.Tick(4), 5.0f);
}

TEST(FrameClockTest, ResetOnActivationDropsTheTimeSpentInactive) {
  FrameClock clock;
  clock.Tick(1000);
  clock.Reset(900000);  // reactivated much later
  EXPECT_EQ(clock.Tick(900020), 20.0f);
}

TEST(FrameClockTest, FixedStepIgnoresElapsedTimeAndResets) {
  FrameClock clock;
  clock.SetFixedStep(10);
  EXPECT_TRUE(clock.fixed_step());
  EXPECT_EQ(clock.Tick(0), 10.0f);
  clock.Reset(123456);
  EXPECT_EQ(clock.Tick(999999), 10.0f);
  EXPECT_EQ(clock.Tick(5), 10.0f);
}

TEST(FrameClockTest, StepOfZeroOrLessMeansRealTimeWithNoPreviousFrame) {
  for (int32_t step : {0, -3}) {
    FrameClock clock;
    clock.SetFixedStep(25);
    clock.SetFixedStep(step);
    EXPECT_FALSE(clock.fixed_step());
    EXPECT_EQ(clock.Tick(7000), 0.0f);
    EXPECT_EQ(clock.Tick(7010), 10.0f);
  }
}

TEST(InputStateTest, WindowMessagesSetButtonsKeyAndPosition) {
  InputState input;
  EXPECT_TRUE(input.HandleMessage(InputState::kLeftButtonDown, 0));
  EXPECT_TRUE(input.HandleMessage(InputState::kRightButtonDown, 0));
  EXPECT_TRUE(input.HandleMessage(InputState::kKeyDown, 0));
  EXPECT_EQ(input.current().buttons, 7);
  EXPECT_TRUE(input.HandleMessage(InputState::kRightButtonUp, 0));
  EXPECT_TRUE(input.HandleMessage(InputState::kKeyUp, 0));
  EXPECT_EQ(input.current().buttons, InputState::kLeftButton);
  EXPECT_TRUE(input.HandleMessage(InputState::kMouseMove, (0xFFF0u << 16) | 0x0102u));
  EXPECT_EQ(input.current().x, 258.0f);
  EXPECT_EQ(input.current().y, 65520.0f);  // unsigned, not negative
  EXPECT_EQ(input.current().moved, 1);
  EXPECT_FALSE(input.HandleMessage(0x0102 /* character */, 27));
}

TEST(PointerStateTest, UpdateTakesTheSnapshotAndFindsNewlyPressedButtons) {
  InputState input;
  PointerState pointer;
  input.HandleMessage(InputState::kMouseMove, (20u << 16) | 10u);
  input.HandleMessage(InputState::kLeftButtonDown, 0);
  pointer.Update(input);
  EXPECT_EQ(pointer.position, (Vec2{10, 20}));
  EXPECT_EQ(pointer.previous_position, (Vec2{0, 0}));
  EXPECT_EQ(pointer.pressed, InputState::kLeftButton);
  EXPECT_EQ(pointer.moved, 1);
  EXPECT_EQ(input.current().moved, 0);  // the snapshot cleared the current moved byte

  input.HandleMessage(InputState::kRightButtonDown, 0);
  pointer.Update(input);
  EXPECT_EQ(pointer.previous_position, (Vec2{10, 20}));
  EXPECT_EQ(pointer.buttons, 3);
  EXPECT_EQ(pointer.previous_buttons, 1);
  EXPECT_EQ(pointer.pressed, InputState::kRightButton);
  EXPECT_EQ(pointer.moved, 0);
  const ControllerInput seen = pointer.ForControllers();
  EXPECT_EQ(seen.buttons, 3);
  EXPECT_EQ(seen.pressed, InputState::kRightButton);
  EXPECT_FALSE(seen.moved);
}

// Records the passes the frame step runs, with what they were given.
class PassLog final : public ScenePasses {
 public:
  explicit PassLog(std::vector<std::string>& log) : log_(log) {}
  void PointerPass(Scene&, Vec2 point) override {
    log_.push_back("pointer " + std::to_string(static_cast<int>(point.x)));
  }
  void ControllerPass(Scene&, const ControllerInput& input) override {
    log_.push_back("controllers " + std::to_string(input.pressed));
  }

 private:
  std::vector<std::string>& log_;
};

class FrameStepTest : public PlaybackTest {
 protected:
  FrameStepTest() { host.set_input_state(&input); }
  InputState input;
  std::vector<std::string> log;
  PassLog passes{log};
  PlayerFrame frame{host, passes};
};

TEST_F(FrameStepTest, WithoutADocumentOnlyTheClockAndHostRun) {
  frame.Run(100);
  frame.Run(130);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(frame.last_step(), 30.0f);
  EXPECT_TRUE(graphics.records().empty());
}

TEST_F(FrameStepTest, PointerPassUsesThePreviousPositionThenControllersThenAdvanceAndDraw) {
  Load(MakeDocument(Node(0)));
  graphics.Clear();
  input.HandleMessage(InputState::kMouseMove, 40);
  input.HandleMessage(InputState::kLeftButtonDown, 0);
  frame.Run(1000);
  input.HandleMessage(InputState::kMouseMove, 70);
  frame.Run(1016);
  EXPECT_THAT(log, ElementsAre("pointer 0", "controllers 1", "pointer 40", "controllers 0"));
  EXPECT_EQ(frame.last_step(), 16.0f);
  EXPECT_FLOAT_EQ(host.scene()->time(), 16.0f);
  // Each frame drew the root once, between the frame's state set-up and its closing EndMask.
  EXPECT_EQ(graphics.Draws().size(), 2u);
  EXPECT_EQ(graphics.records().back().kind, DrawRecord::Kind::kEndMask);
}

TEST_F(FrameStepTest, FixedStepAdvancesTheSceneByTheStep) {
  Load(MakeDocument(Node(0)));
  frame.clock().SetFixedStep(10);
  for (uint32_t now : {5u, 5u, 90000u}) frame.Run(now);
  EXPECT_FLOAT_EQ(host.scene()->time(), 30.0f);
  EXPECT_EQ(host.scene()->frame(), 3);
}

TEST_F(FrameStepTest, ReactivationResetsTheClockFromTheServicesTickCount) {
  Load(MakeDocument(Node(0)));
  services.ticks = 1000;
  frame.Run();  // first frame: 0
  services.ticks = 1016;
  frame.Run();
  services.ticks = 500000;  // long inactive, then reactivated
  frame.ResetClock();
  services.ticks = 500010;
  frame.Run();
  EXPECT_EQ(frame.last_step(), 10.0f);
  EXPECT_FLOAT_EQ(host.scene()->time(), 26.0f);
}

TEST_F(PlaybackTest, StandardPassesGiveTheTopmostNodeUnderThePointerItsHitState) {
  // Two quads (16 by 8) at (0, 0) and (4, 4) on the stage overlap at (5, 5); node 2 draws
  // later, on top. The root's quad lies elsewhere.
  Load(MakeDocument(Node(0, {Hold<2>(At(100, 100))},
                         {Node(1, {Hold<2>(At(-100, -100))}), Node(2, {Hold<2>(At(-96, -96))})})));
  InputState input;
  host.set_input_state(&input);
  PlayerFrame frame(host, ScenePasses::Standard());
  input.HandleMessage(InputState::kMouseMove, (5u << 16) | 5u);
  frame.Run(0);  // tests (0, 0), then takes (5, 5)
  frame.Run(0);  // tests (5, 5)
  EXPECT_EQ(FindNode(2)->hit_state, 1);
  EXPECT_EQ(FindNode(1)->hit_state, 2);
  EXPECT_EQ(FindNode(0)->hit_state, 0);
}

}  // namespace
}  // namespace cva::testing
