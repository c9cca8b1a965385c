#pragma once

#include "render/image/rgba_bitmap.h"

namespace cva {

// An image file decoded to RGBA8 at its own size.
struct DecodedImage {
  RgbaBitmap pixels;
  // Whether the file stores an 8-bit alpha channel with every pixel (32-bit RGBA PNG, 32-bit
  // BMP with an alpha mask). Only such images get an alpha mask for hit tests; the others may
  // still carry transparency (a palette PNG with transparent entries) in their pixels.
  bool alpha_channel = false;
};

}  // namespace cva
