#include "render/image/rgba_bitmap.h"

namespace cva {

RgbaBitmap::RgbaBitmap(int32_t width, int32_t height, Texel fill) {
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return;
  width_ = width;
  height_ = height;
  pixels_.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  Fill(fill);
}

void RgbaBitmap::Fill(Texel t) {
  for (size_t i = 0; i + 3 < pixels_.size(); i += 4) {
    pixels_[i] = t.r;
    pixels_[i + 1] = t.g;
    pixels_[i + 2] = t.b;
    pixels_[i + 3] = t.a;
  }
}

}  // namespace cva
