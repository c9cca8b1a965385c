#pragma once

#include <cstdint>
#include <vector>

#include "render/image_resource.h"
#include "render/soft/soft_texture.h"

namespace cva {

// An image resource of the software renderer: the decoded file stretched into a power-of-two
// texture, the image's own pixel size, and the alpha mask for hit tests.
class SoftImage final : public ImageResource {
 public:
  using ImageResource::ImageResource;

  ImageSize Size() const override { return size_; }
  // True when there is no mask; otherwise true exactly for a point inside the image whose
  // alpha is not 0.
  bool HitTest(int32_t x, int32_t y) const override;

  // The texture, empty until the image has loaded.
  const SoftTexture& texture() const { return texture_; }
  // One alpha byte per image pixel, rows from the top; empty for images without an 8-bit
  // alpha channel.
  const std::vector<uint8_t>& alpha_mask() const { return alpha_mask_; }

 protected:
  // Decodes the bytes; a file that is not a readable PNG, JPEG or BMP fails the load and its
  // reason goes to the error output.
  LoadResult Load(std::vector<uint8_t>& bytes) override;
  void ReleaseLoaded() override;

 private:
  ImageSize size_;
  SoftTexture texture_;
  std::vector<uint8_t> alpha_mask_;
};

}  // namespace cva
