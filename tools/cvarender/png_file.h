#pragma once

#include <string>

#include "rgba_image.h"

namespace cva::render_tool {

// Largest picture ReadPng accepts, in pixels per side; bigger headers are refused before any
// pixel memory is allocated.
constexpr int32_t kMaxPngSide = 16384;

// Writes an RGBA PNG. False with `error` when the file cannot be written.
bool WritePng(const std::string& path, const RgbaImage& image, std::string& error);

// Reads any PNG as RGBA (palette, grey and 16-bit images are converted). False with `error`
// for a missing, damaged or oversized file.
bool ReadPng(const std::string& path, RgbaImage& image, std::string& error);

}  // namespace cva::render_tool
