#include "render/soft/soft_image.h"

#include <string>

#include "render/soft/image_decoder.h"
#include "render/soft/texture_stretch.h"
#include "stream/text_conversion.h"
#include "system/services.h"

namespace cva {

bool SoftImage::HitTest(int32_t x, int32_t y) const {
  if (alpha_mask_.empty()) return true;
  // A point outside the image misses; the row-major index alone would let an x beyond the
  // width land on the next row.
  if (x < 0 || y < 0 || x >= size_.width || y >= size_.height) return false;
  const size_t index =
      static_cast<size_t>(y) * static_cast<size_t>(size_.width) + static_cast<size_t>(x);
  return index < alpha_mask_.size() && alpha_mask_[index] != 0;
}

SoftImage::LoadResult SoftImage::Load(std::vector<uint8_t>& bytes) {
  ReleaseLoaded();
  DecodedImage decoded;
  std::string error;
  if (!DecodeImage(bytes, decoded, error)) {
    SystemServices().ErrorOutput(ToUtf8(name()) + ": " + error);
    return kLoadFailed;
  }
  const SoftTexture& pixels = decoded.pixels;
  size_ = {pixels.width(), pixels.height()};
  // The mask comes from the image at its own size. Reading it from the stretched texture
  // with the image's width, row by row, would misplace it on images whose sides are not
  // powers of two.
  if (decoded.alpha_channel) {
    alpha_mask_.reserve(static_cast<size_t>(size_.width) * static_cast<size_t>(size_.height));
    for (int32_t y = 0; y < size_.height; ++y) {
      for (int32_t x = 0; x < size_.width; ++x) alpha_mask_.push_back(pixels.At(x, y).a);
    }
  }
  texture_ = StretchToPowerOfTwo(pixels);
  return kLoaded;
}

void SoftImage::ReleaseLoaded() {
  size_ = {};
  texture_ = {};
  alpha_mask_.clear();
  alpha_mask_.shrink_to_fit();
}

}  // namespace cva
