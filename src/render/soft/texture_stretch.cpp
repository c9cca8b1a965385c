#include "render/soft/texture_stretch.h"

namespace cva {

int32_t NextPowerOfTwo(int32_t value) {
  int32_t result = 1;
  while (result < value && result < (int32_t{1} << 30)) result <<= 1;
  return result;
}

SoftTexture StretchToPowerOfTwo(const RgbaBitmap& image) {
  if (image.empty()) return {};
  const int32_t tw = NextPowerOfTwo(image.width());
  const int32_t th = NextPowerOfTwo(image.height());
  if (tw == image.width() && th == image.height()) return SoftTexture(image);
  SoftTexture texture(tw, th);
  for (int32_t y = 0; y < th; ++y) {
    const int32_t sy = static_cast<int32_t>(int64_t{y} * image.height() / th);
    for (int32_t x = 0; x < tw; ++x) {
      const int32_t sx = static_cast<int32_t>(int64_t{x} * image.width() / tw);
      texture.Set(x, y, image.At(sx, sy));
    }
  }
  return texture;
}

}  // namespace cva
