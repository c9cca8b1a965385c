#pragma once

#include <string>

#include "render/image/rgba_bitmap.h"
#include "rgba_image.h"

namespace cva::testing {

// Reads a PNG with the D3DX image loader into RGBA (through a system-memory A8R8G8B8 surface
// of the image's size); false when the file cannot be read or there is no render device.
bool ReadPngD3dx(const std::string& path, render_tool::RgbaImage& out);
// Writes a picture as PNG with D3DX; false when it cannot.
bool WritePngD3dx(const std::string& path, const render_tool::RgbaImage& image);

inline render_tool::RgbaImage ToImage(const RgbaBitmap& bitmap) {
  render_tool::RgbaImage image;
  image.width = bitmap.width();
  image.height = bitmap.height();
  image.pixels = bitmap.pixels();
  return image;
}

}  // namespace cva::testing
