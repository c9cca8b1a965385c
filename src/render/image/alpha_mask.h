#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/image/decoded_image.h"

namespace cva {

// The alpha of an image at its own size, one byte per pixel in rows from the top, which
// pointer hit tests read. An image without an 8-bit alpha channel has an empty mask, and then
// every point hits. The mask is built from the image's own pixels, never from a texture made
// of them: a texture stretched to power-of-two sides would misplace it.
class AlphaMask {
 public:
  AlphaMask() = default;

  // The alpha bytes of width x height 32-bit pixels whose rows start `pitch` bytes apart from
  // `rows`, the alpha at byte `alpha_offset` of each pixel (3 both for RGBA8 bytes and for
  // A8R8G8B8 pixels in memory). Empty for a size without pixels, and for a pitch shorter than
  // a row of pixels or an offset outside a pixel, which would read beyond the rows given.
  static AlphaMask FromRows(const uint8_t* rows, int32_t width, int32_t height, size_t pitch,
                            size_t alpha_offset = 3);
  // The mask of a decoded file: its alpha when the file has an 8-bit alpha channel, otherwise
  // empty.
  static AlphaMask Of(const DecodedImage& image);

  bool empty() const { return alpha_.empty(); }
  // True when the mask is empty; otherwise true exactly for a point inside the image whose
  // alpha is not 0.
  bool Hits(int32_t x, int32_t y) const;
  const std::vector<uint8_t>& bytes() const { return alpha_; }

 private:
  int32_t width_ = 0;
  int32_t height_ = 0;
  std::vector<uint8_t> alpha_;
};

}  // namespace cva
