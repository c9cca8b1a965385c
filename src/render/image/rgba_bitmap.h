#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace cva {

// One RGBA8 texel: red, green, blue, alpha.
struct Texel {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  uint8_t a = 0;
  friend bool operator==(const Texel&, const Texel&) = default;
};

// An RGBA8 bitmap in memory, rows from the top, four bytes per texel (r, g, b, a): a decoded
// image at its own size, a glyph page, and what a backend's textures are made from.
class RgbaBitmap {
 public:
  RgbaBitmap() = default;
  // A bitmap of the given size filled with `fill`; a size not above 0 in either direction (or
  // one above kMaxSide) makes an empty bitmap.
  RgbaBitmap(int32_t width, int32_t height, Texel fill = {});

  // Largest width or height accepted: 16384, the usual device limit for textures.
  static constexpr int32_t kMaxSide = 16384;

  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  bool empty() const { return width_ == 0; }

  // Texel (x, y); the coordinates must lie inside the bitmap.
  Texel At(int32_t x, int32_t y) const {
    const uint8_t* p = &pixels_[Offset(x, y)];
    return {p[0], p[1], p[2], p[3]};
  }
  void Set(int32_t x, int32_t y, Texel t) {
    uint8_t* p = &pixels_[Offset(x, y)];
    p[0] = t.r;
    p[1] = t.g;
    p[2] = t.b;
    p[3] = t.a;
  }
  void Fill(Texel t);

  // Raw bytes, width x height x 4, rows from the top.
  const std::vector<uint8_t>& pixels() const { return pixels_; }
  std::vector<uint8_t>& mutable_pixels() { return pixels_; }
  const uint8_t* Row(int32_t y) const { return &pixels_[Offset(0, y)]; }
  uint8_t* MutableRow(int32_t y) { return &pixels_[Offset(0, y)]; }

  friend bool operator==(const RgbaBitmap&, const RgbaBitmap&) = default;

 private:
  size_t Offset(int32_t x, int32_t y) const {
    return (static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)) * 4;
  }

  int32_t width_ = 0;
  int32_t height_ = 0;
  std::vector<uint8_t> pixels_;
};

}  // namespace cva
