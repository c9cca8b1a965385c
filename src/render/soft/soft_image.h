#pragma once

#include <cstdint>

#include "render/image/alpha_mask.h"
#include "render/image_resource.h"
#include "render/soft/soft_texture.h"

namespace cva {

// An image resource of the software renderer: the file decoded by the image codec, stretched
// into a power-of-two texture, with the image's own pixel size and its alpha mask.
class SoftImage final : public ImageResource {
 public:
  using ImageResource::ImageResource;

  ImageSize Size() const override { return size_; }
  // True when there is no mask; otherwise true exactly for a point inside the image whose
  // alpha is not 0.
  bool HitTest(int32_t x, int32_t y) const override { return alpha_mask_.Hits(x, y); }

  // The texture, empty until the image has loaded.
  const SoftTexture& texture() const { return texture_; }
  // The image's alpha for hit tests; empty for images without an 8-bit alpha channel.
  const AlphaMask& alpha_mask() const { return alpha_mask_; }

 protected:
  // Decodes the bytes; a file that is not a readable PNG, JPEG or BMP fails the load and its
  // reason goes to the error output.
  LoadResult Load(std::vector<uint8_t>& bytes) override;
  void ReleaseLoaded() override;

 private:
  ImageSize size_;
  SoftTexture texture_;
  AlphaMask alpha_mask_;
};

}  // namespace cva
