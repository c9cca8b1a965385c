#include "render/soft/soft_texture.h"

#include <cmath>

namespace cva {

SoftTexture::SoftTexture(int32_t width, int32_t height, Texel fill) {
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return;
  width_ = width;
  height_ = height;
  pixels_.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  Fill(fill);
}

void SoftTexture::Fill(Texel t) {
  for (size_t i = 0; i + 3 < pixels_.size(); i += 4) {
    pixels_[i] = t.r;
    pixels_[i + 1] = t.g;
    pixels_[i + 2] = t.b;
    pixels_[i + 3] = t.a;
  }
}

int32_t SoftTexture::WrapIndex(float coordinate, int32_t size) {
  if (size <= 0 || !std::isfinite(coordinate)) return 0;
  // Texture units address texels with a fixed number of fraction bits; snapping to 1/256
  // texel keeps a coordinate that lands on a texel boundary (a pixel centre mapped through
  // u = x / width) on the texel it names instead of one below after float rounding.
  const double texel = std::nearbyint(static_cast<double>(coordinate) * size * 256.0) / 256.0;
  const double wrapped = texel - std::floor(texel / size) * size;
  int32_t index = static_cast<int32_t>(std::floor(wrapped));
  if (index < 0) index = 0;
  if (index >= size) index = size - 1;
  return index;
}

Texel SoftTexture::SampleWrapPoint(float u, float v) const {
  if (empty()) return {255, 255, 255, 255};
  return At(WrapIndex(u, width_), WrapIndex(v, height_));
}

}  // namespace cva
