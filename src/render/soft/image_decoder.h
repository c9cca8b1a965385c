#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "render/soft/soft_texture.h"

namespace cva {

// An image file decoded to RGBA8 at its own size.
struct DecodedImage {
  SoftTexture pixels;
  // Whether the file stores an 8-bit alpha channel with every pixel (32-bit RGBA PNG, 32-bit
  // BMP with an alpha mask). Only such images get an alpha mask for hit tests; the others may
  // still carry transparency (a palette PNG with transparent entries) in their pixels.
  bool alpha_channel = false;
};

// Largest image accepted, in each direction and in pixels overall.
constexpr int32_t kMaxImageSide = 8192;
constexpr int64_t kMaxImagePixels = int64_t{1} << 24;

// Decodes a PNG (libpng), JPEG (libjpeg) or BMP (stb_image) file from memory, recognised by
// its signature. Returns false with a reason in `error` for anything else, for damaged or
// truncated data and for images larger than the limits above.
bool DecodeImage(std::span<const uint8_t> bytes, DecodedImage& out, std::string& error);

}  // namespace cva
