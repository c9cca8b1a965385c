// The backend-neutral image pieces: the size limits every decoder applies and the alpha mask
// built from an image's own pixels, as a Direct3D surface hands them over (BGRA texels, rows
// padded to a pitch).

#include <gtest/gtest.h>

#include "render/image/alpha_mask.h"
#include "render/image/image_limits.h"

namespace cva {
namespace {

TEST(ImageLimitsTest, SidesAndPixelCountAreBounded) {
  std::string error;
  EXPECT_TRUE(ImageSizeAccepted(1, 1, error));
  EXPECT_TRUE(ImageSizeAccepted(kMaxImageSide, kMaxImagePixels / kMaxImageSide, error));
  EXPECT_FALSE(ImageSizeAccepted(kMaxImageSide + 1, 1, error));
  EXPECT_EQ(error, "the image is too large (8193 x 1)");
  EXPECT_FALSE(ImageSizeAccepted(1, kMaxImageSide + 1, error));
  EXPECT_FALSE(ImageSizeAccepted(kMaxImageSide, kMaxImagePixels / kMaxImageSide + 1, error));
  EXPECT_FALSE(ImageSizeAccepted(0, 5, error));
  EXPECT_EQ(error, "the image has no pixels");
  EXPECT_FALSE(ImageSizeAccepted(5, -1, error));
}

TEST(AlphaMaskTest, PaddedRowsGiveOneBytePerImagePixel) {
  // 3 x 2 pixels of 4 bytes (alpha last) in rows of 16 bytes; padding bytes are 0xEE.
  std::vector<uint8_t> rows(32, 0xEE);
  const uint8_t alpha[2][3] = {{255, 0, 7}, {0, 1, 0}};
  for (size_t y = 0; y < 2; ++y)
    for (size_t x = 0; x < 3; ++x) rows[y * 16 + x * 4 + 3] = alpha[y][x];
  const AlphaMask mask = AlphaMask::FromRows(rows.data(), 3, 2, 16);
  EXPECT_EQ(mask.bytes(), (std::vector<uint8_t>{255, 0, 7, 0, 1, 0}));
  EXPECT_TRUE(mask.Hits(0, 0));
  EXPECT_FALSE(mask.Hits(1, 0));
  EXPECT_TRUE(mask.Hits(1, 1));
  EXPECT_FALSE(mask.Hits(3, 0));  // beyond the width: not the next row's first pixel
  EXPECT_FALSE(mask.Hits(0, 2));
  EXPECT_FALSE(mask.Hits(-1, 0));
  // Rows that overlap (pitch under 3 pixels) or an alpha outside the pixel read nothing.
  EXPECT_TRUE(AlphaMask::FromRows(rows.data(), 3, 2, 8).empty());
  EXPECT_TRUE(AlphaMask::FromRows(rows.data(), 3, 2, 16, 4).empty());
  // No mask: every point hits.
  EXPECT_TRUE(AlphaMask().Hits(100, -3));
  DecodedImage opaque{RgbaBitmap(2, 2, {0, 0, 0, 0}), false};
  EXPECT_TRUE(AlphaMask::Of(opaque).empty());
}

}  // namespace
}  // namespace cva
