// The render states a DrawState sets for each mask and blend mode, in order.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "render/draw_state.h"
#include "render/record/recording_provider.h"

namespace cva {
namespace {

using ::testing::ElementsAre;
using S = RenderState;
using State = std::pair<RenderState, uint32_t>;

constexpr uint32_t V(CompareFunc f) {
  return static_cast<uint32_t>(f);
}
constexpr uint32_t V(BlendFactor f) {
  return static_cast<uint32_t>(f);
}
constexpr uint32_t kAdd = static_cast<uint32_t>(BlendOp::kAdd);

std::vector<State> Applied(int32_t mask, int32_t blend, int32_t threshold = 255) {
  RecordingProvider provider;
  DrawState state(provider);
  state.SetMaskMode(mask);
  state.SetBlendMode(blend);
  state.SetMaskThreshold(threshold);
  state.Apply();
  EXPECT_EQ(provider.records().size(), 1u);
  return provider.records().empty() ? std::vector<State>{} : provider.records()[0].states;
}

TEST(DrawStateTest, StartsAtZeroAndKeepsWhatIsSet) {
  RecordingProvider provider;
  DrawState state(provider);
  EXPECT_EQ(state.MaskMode(), 0);
  EXPECT_EQ(state.BlendMode(), 0);
  EXPECT_EQ(state.MaskThreshold(), 0);
  state.SetMaskThreshold(17);
  state.SetMaskMode(2);
  state.SetBlendMode(3);
  EXPECT_EQ(state.MaskThreshold(), 17);
  EXPECT_EQ(state.MaskMode(), 2);
  EXPECT_EQ(state.BlendMode(), 3);
  EXPECT_TRUE(provider.records().empty());  // nothing reaches the device before Apply
}

TEST(DrawStateTest, NoMaskThenEachBlendMode) {
  EXPECT_THAT(Applied(0, 0), ElementsAre(State{S::kAlphaTestEnable, 0}, State{S::kZEnable, 0},
                                         State{S::kAlphaBlendEnable, 1}, State{S::kBlendOp, kAdd},
                                         State{S::kSrcBlend, V(BlendFactor::kSrcAlpha)},
                                         State{S::kDestBlend, V(BlendFactor::kInvSrcAlpha)}));
  EXPECT_THAT(Applied(0, 1), ElementsAre(State{S::kAlphaTestEnable, 0}, State{S::kZEnable, 0},
                                         State{S::kAlphaBlendEnable, 1}, State{S::kBlendOp, kAdd},
                                         State{S::kSrcBlend, V(BlendFactor::kSrcAlpha)},
                                         State{S::kDestBlend, V(BlendFactor::kOne)}));
  EXPECT_THAT(Applied(0, 2), ElementsAre(State{S::kAlphaTestEnable, 0}, State{S::kZEnable, 0},
                                         State{S::kAlphaBlendEnable, 1}, State{S::kBlendOp, kAdd},
                                         State{S::kSrcBlend, V(BlendFactor::kInvDestColour)},
                                         State{S::kDestBlend, V(BlendFactor::kZero)}));
  EXPECT_THAT(Applied(0, 3), ElementsAre(State{S::kAlphaTestEnable, 0}, State{S::kZEnable, 0},
                                         State{S::kAlphaBlendEnable, 0}));
  EXPECT_THAT(Applied(0, 9), ElementsAre(State{S::kAlphaTestEnable, 0}, State{S::kZEnable, 0}));
}

TEST(DrawStateTest, WritingAMaskIgnoresTheBlendModeAndTestsAlphaAgainstTheThreshold) {
  const std::vector<State> expected = {{S::kAlphaTestEnable, 1},
                                       {S::kAlphaFunc, V(CompareFunc::kGreater)},
                                       {S::kAlphaRef, 255 - 200},
                                       {S::kAlphaBlendEnable, 1},
                                       {S::kBlendOp, kAdd},
                                       {S::kSrcBlend, V(BlendFactor::kZero)},
                                       {S::kDestBlend, V(BlendFactor::kOne)},
                                       {S::kZEnable, 1},
                                       {S::kZWriteEnable, 1},
                                       {S::kZFunc, V(CompareFunc::kAlways)}};
  EXPECT_EQ(Applied(1, 0, 200), expected);
  EXPECT_EQ(Applied(1, 3, 200), expected);
}

TEST(DrawStateTest, AlphaReferenceStaysInsideTheByteRange) {
  auto ref = [](int32_t threshold) {
    for (const State& s : Applied(1, 0, threshold)) {
      if (s.first == S::kAlphaRef) return s.second;
    }
    return 0xFFFFFFFFu;
  };
  EXPECT_EQ(ref(255), 0u);  // mask wherever alpha > 0
  EXPECT_EQ(ref(0), 255u);  // masks nothing
  EXPECT_EQ(ref(1000), 0u);
  EXPECT_EQ(ref(-5), 255u);
}

TEST(DrawStateTest, DrawingInsideAMaskTestsDepthWithoutWritingIt) {
  EXPECT_THAT(
      Applied(2, 1),
      ElementsAre(State{S::kAlphaTestEnable, 0}, State{S::kZEnable, 1}, State{S::kZWriteEnable, 0},
                  State{S::kZFunc, V(CompareFunc::kGreaterEqual)}, State{S::kAlphaBlendEnable, 1},
                  State{S::kBlendOp, kAdd}, State{S::kSrcBlend, V(BlendFactor::kSrcAlpha)},
                  State{S::kDestBlend, V(BlendFactor::kOne)}));
  // An unknown mask mode sets nothing of its own.
  EXPECT_THAT(Applied(7, 3), ElementsAre(State{S::kAlphaBlendEnable, 0}));
}

}  // namespace
}  // namespace cva
