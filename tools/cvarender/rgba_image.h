#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace cva::render_tool {

// An 8-bit RGBA picture, rows top to bottom, four bytes per pixel (red, green, blue, alpha).
struct RgbaImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> pixels;

  RgbaImage() = default;
  RgbaImage(int32_t w, int32_t h)
      : width(w), height(h), pixels(static_cast<size_t>(w) * static_cast<size_t>(h) * 4u, 0) {}

  bool empty() const { return width <= 0 || height <= 0; }
  uint8_t* At(int32_t x, int32_t y) {
    return pixels.data() + (static_cast<size_t>(y) * static_cast<size_t>(width) + x) * 4u;
  }
  const uint8_t* At(int32_t x, int32_t y) const {
    return pixels.data() + (static_cast<size_t>(y) * static_cast<size_t>(width) + x) * 4u;
  }
};

}  // namespace cva::render_tool
