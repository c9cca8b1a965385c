#include <gtest/gtest.h>

#include <vector>

#include "player/display_mode_choice.h"

namespace cva {
namespace {

TEST(DisplayModeTest, SmallestThirtyTwoBitModeHoldingTheRequest) {
  const std::vector<DisplayMode> modes = {
      {640, 480, 16}, {800, 600, 32}, {640, 480, 32}, {1024, 768, 32}, {640, 480, 32}};
  // The 16-bit mode is skipped; of the two equal 640 x 480 x 32 modes the first listed wins.
  EXPECT_EQ(ChooseDisplayMode(modes, 640, 480), 2u);
  EXPECT_EQ(ChooseDisplayMode(modes, 641, 480), 1u);
  // Height decides as much as width; nothing holds a request larger than every mode.
  EXPECT_EQ(ChooseDisplayMode(modes, 100, 700), 3u);
  EXPECT_EQ(ChooseDisplayMode(modes, 1025, 768), std::nullopt);
  // Negative sides compare as huge unsigned values, so they match no mode.
  EXPECT_EQ(ChooseDisplayMode(modes, -1, 480), std::nullopt);
  EXPECT_EQ(ChooseDisplayMode({}, 640, 480), std::nullopt);
}

TEST(DisplayModeTest, WindowsAreCentredEvenWhenLargerThanTheDisplay) {
  const WindowOrigin inside = CentredOrigin(1024, 768, 806, 629);
  EXPECT_EQ(inside.x, 109);
  EXPECT_EQ(inside.y, 69);
  const WindowOrigin larger = CentredOrigin(1024, 768, 1300, 900);
  EXPECT_EQ(larger.x, -138);
  EXPECT_EQ(larger.y, -66);
}

}  // namespace
}  // namespace cva
