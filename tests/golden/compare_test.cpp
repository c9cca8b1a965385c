#include <gtest/gtest.h>

#include "golden_rig.h"
#include "image_compare.h"

namespace cva::testing {
namespace {

using render_tool::RgbaImage;

RgbaImage Filled(int32_t w, int32_t h, uint8_t r, uint8_t g, uint8_t b) {
  RgbaImage image(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      uint8_t* p = image.At(x, y);
      p[0] = r;
      p[1] = g;
      p[2] = b;
      p[3] = 255;
    }
  return image;
}

TEST(CompareTest, ChannelDifferencesUpToTheToleranceMatchAndOneMoreIsAnOutlier) {
  const RgbaImage expected = Filled(8, 4, 100, 100, 100);
  RgbaImage actual = expected;
  actual.At(3, 2)[1] = 103;  // green off by 3
  EXPECT_TRUE(CompareImages(expected, actual, {3, 0}).matches);

  const CompareResult strict = CompareImages(expected, actual, {2, 0});
  EXPECT_FALSE(strict.matches);
  EXPECT_EQ(strict.outliers, 1);
  EXPECT_EQ(strict.largest_difference, 3);
  EXPECT_EQ(strict.first_x, 3);
  EXPECT_EQ(strict.first_y, 2);

  actual.At(0, 0)[3] = 0;  // alpha counts as a channel too
  EXPECT_EQ(CompareImages(expected, actual, {3, 0}).outliers, 1);
}

TEST(CompareTest, OutliersAreCountedPerPixelAgainstTheAllowance) {
  const RgbaImage expected = Filled(8, 4, 10, 20, 30);
  RgbaImage actual = expected;
  for (int32_t x = 0; x < 5; ++x) {
    actual.At(x, 1)[0] = 200;  // two channels of the same pixel count once
    actual.At(x, 1)[2] = 200;
  }
  EXPECT_EQ(CompareImages(expected, actual, {0, 5}).outliers, 5);
  EXPECT_TRUE(CompareImages(expected, actual, {0, 5}).matches);
  EXPECT_FALSE(CompareImages(expected, actual, {0, 4}).matches);
}

TEST(CompareTest, DifferentSizesNeverMatch) {
  const CompareResult result =
      CompareImages(Filled(8, 4, 1, 2, 3), Filled(4, 8, 1, 2, 3), {255, 1000});
  EXPECT_FALSE(result.same_size);
  EXPECT_FALSE(result.matches);
}

// The goldens of two different fixtures must not pass for each other: the comparator as the
// golden tests use it rejects a wrong picture.
TEST(CompareTest, AWrongRenderedPictureFailsAgainstAGolden) {
  if (UpdatingGoldens()) GTEST_SKIP() << "goldens are being rewritten";
  RgbaImage golden, wrong;
  std::string error;
  ASSERT_TRUE(render_tool::ReadPng(std::string(CVA_GOLDEN_DIR) + "/tiling.png", golden, error))
      << error;
  ASSERT_TRUE(RenderFixture("golden_swap", 1, wrong));
  const CompareResult result = CompareImages(golden, wrong, {2, 0});
  EXPECT_TRUE(result.same_size);
  EXPECT_FALSE(result.matches);
  EXPECT_GT(result.outliers, 100);

  // One changed pixel of the right picture is caught too.
  RgbaImage right;
  ASSERT_TRUE(RenderFixture("golden_tiling", 1, right));
  right.At(20, 20)[0] = static_cast<uint8_t>(right.At(20, 20)[0] ^ 0x80);
  EXPECT_EQ(CompareImages(golden, right, {2, 0}).outliers, 1);
}

}  // namespace
}  // namespace cva::testing
