#include "render/soft/soft_image.h"

#include <string>

#include "render/codec/image_decoder.h"
#include "render/soft/texture_stretch.h"
#include "stream/text_conversion.h"
#include "system/services.h"

namespace cva {

SoftImage::LoadResult SoftImage::Load(std::vector<uint8_t>& bytes) {
  ReleaseLoaded();
  DecodedImage decoded;
  std::string error;
  if (!DecodeImage(bytes, decoded, error)) {
    SystemServices().ErrorOutput(ToUtf8(name()) + ": " + error);
    return kLoadFailed;
  }
  size_ = {decoded.pixels.width(), decoded.pixels.height()};
  alpha_mask_ = AlphaMask::Of(decoded);
  texture_ = StretchToPowerOfTwo(decoded.pixels);
  return kLoaded;
}

void SoftImage::ReleaseLoaded() {
  size_ = {};
  texture_ = {};
  alpha_mask_ = {};
}

}  // namespace cva
