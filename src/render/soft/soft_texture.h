#pragma once

#include <cstdint>
#include <utility>

#include "render/image/rgba_bitmap.h"

namespace cva {

// A texture of the software renderer: an RGBA8 bitmap sampled as the device's texture units
// do. Also the framebuffer's colour buffer.
class SoftTexture : public RgbaBitmap {
 public:
  using RgbaBitmap::RgbaBitmap;
  SoftTexture() = default;
  explicit SoftTexture(RgbaBitmap bitmap) : RgbaBitmap(std::move(bitmap)) {}

  // Texel index for a texture coordinate on an axis of `size` texels with point filtering:
  // floor(coordinate x size) after snapping to 1/256 texel, wrapped into 0..size-1. A
  // coordinate that is not finite gives texel 0.
  static int32_t WrapIndex(float coordinate, int32_t size);
  // The texel at (u, v) with point filtering and wrap addressing (the sampler's defaults).
  // An empty texture samples as opaque white.
  Texel SampleWrapPoint(float u, float v) const;
};

}  // namespace cva
