// Arbitrary bytes as an image file (PNG, JPEG or BMP, by signature): decoded or refused, and
// the hit mask of what decodes is built and read at its corners.
#include <cstdint>
#include <span>
#include <string>

#include "render/codec/image_decoder.h"
#include "render/image/alpha_mask.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  cva::DecodedImage image;
  std::string error;
  if (!cva::DecodeImage(std::span<const uint8_t>(data, size), image, error)) return 0;
  const cva::AlphaMask mask = cva::AlphaMask::Of(image);
  const int32_t w = image.pixels.width(), h = image.pixels.height();
  for (const int32_t x : {-1, 0, w - 1, w})
    for (const int32_t y : {-1, 0, h - 1, h}) mask.Hits(x, y);
  return 0;
}
