#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "render/image/decoded_image.h"

namespace cva {

// Decodes a PNG (libpng), JPEG (libjpeg) or BMP (stb_image) file from memory, recognised by
// its signature. Returns false with a reason in `error` for anything else, for damaged or
// truncated data and for images larger than the limits of render/image/image_limits.h.
bool DecodeImage(std::span<const uint8_t> bytes, DecodedImage& out, std::string& error);

}  // namespace cva
