#pragma once

#include <string>

#include "render/image/rgba_bitmap.h"

namespace cva::d3d9_session {

// Reads an image file with the D3DX image loader into RGBA, through a system-memory A8R8G8B8
// surface of the image's size; false when the file cannot be read or there is no device.
bool ReadImageD3dx(const std::string& path, RgbaBitmap& out);
// Writes a bitmap as a PNG file with D3DX; false when it cannot.
bool WritePngD3dx(const std::string& path, const RgbaBitmap& bitmap);

}  // namespace cva::d3d9_session
