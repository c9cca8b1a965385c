#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/image/rgba_bitmap.h"

namespace cva {

// Encodes the bitmap as an 8-bit RGB PNG, or RGBA when `with_alpha` is set. The framebuffer
// is opaque, so RGB is what pictures of frames use. Returns false with a reason in `error`.
bool EncodePng(const RgbaBitmap& image, bool with_alpha, std::vector<uint8_t>& out,
               std::string& error);

// Writes EncodePng's result to the file at `path` (a UTF-8 path), replacing it.
bool WritePng(const RgbaBitmap& image, const std::string& path, bool with_alpha,
              std::string& error);

}  // namespace cva
