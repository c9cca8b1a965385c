#include "render/image/alpha_mask.h"

namespace cva {

AlphaMask AlphaMask::FromRows(const uint8_t* rows, int32_t width, int32_t height, size_t pitch,
                              size_t alpha_offset) {
  AlphaMask mask;
  if (rows == nullptr || width <= 0 || height <= 0 || alpha_offset > 3 ||
      pitch < static_cast<size_t>(width) * 4)
    return mask;
  mask.width_ = width;
  mask.height_ = height;
  mask.alpha_.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* row = rows + static_cast<size_t>(y) * pitch;
    for (int32_t x = 0; x < width; ++x)
      mask.alpha_.push_back(row[static_cast<size_t>(x) * 4 + alpha_offset]);
  }
  return mask;
}

AlphaMask AlphaMask::Of(const DecodedImage& image) {
  const RgbaBitmap& pixels = image.pixels;
  if (!image.alpha_channel || pixels.empty()) return {};
  return FromRows(pixels.Row(0), pixels.width(), pixels.height(),
                  static_cast<size_t>(pixels.width()) * 4);
}

bool AlphaMask::Hits(int32_t x, int32_t y) const {
  if (alpha_.empty()) return true;
  // A point outside the image misses; the row-major index alone would let an x beyond the
  // width land on the next row.
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
  const size_t index =
      static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
  return index < alpha_.size() && alpha_[index] != 0;
}

}  // namespace cva
