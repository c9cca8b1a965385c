#include "render/image/image_limits.h"

namespace cva {

bool ImageSizeAccepted(int64_t width, int64_t height, std::string& error) {
  if (width <= 0 || height <= 0) {
    error = "the image has no pixels";
    return false;
  }
  if (width > kMaxImageSide || height > kMaxImageSide || width * height > kMaxImagePixels) {
    error =
        "the image is too large (" + std::to_string(width) + " x " + std::to_string(height) + ")";
    return false;
  }
  return true;
}

}  // namespace cva
