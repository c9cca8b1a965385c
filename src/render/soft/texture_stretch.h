#pragma once

#include <cstdint>

#include "render/image/rgba_bitmap.h"
#include "render/soft/soft_texture.h"

namespace cva {

// The smallest power of two not below `value` (1 for values below 1).
int32_t NextPowerOfTwo(int32_t value);

// The texture an image becomes with the image loader's defaults: each side rounded up to a
// power of two, the image stretched over the whole texture by nearest neighbour, texel (x, y)
// taken from image pixel (floor(x * image width / texture width), likewise for y). This is the
// one place where the stretch is decided, so it can be matched to the Windows build.
SoftTexture StretchToPowerOfTwo(const RgbaBitmap& image);

}  // namespace cva
