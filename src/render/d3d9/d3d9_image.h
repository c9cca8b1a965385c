#pragma once

#include <d3d9.h>

#include <cstdint>

#include "render/d3d9/render_device.h"
#include "render/image/alpha_mask.h"
#include "render/image_resource.h"
#include "system/windows/com_ref.h"

namespace cva {

// An image resource of the Direct3D 9 backend: the file made into a managed texture by the
// D3DX loader with its defaults (power-of-two sides, full mip chain), the image's own pixel
// size, and, for files with an 8-bit alpha channel, the alpha mask of the image at its own size.
class D3d9Image final : public ImageResource {
 public:
  D3d9Image(RenderDevice& device, ResourceProvider& owner, const EncodedText& name)
      : ImageResource(owner, name), device_(device) {}

  ImageSize Size() const override { return size_; }
  // True when there is no mask; otherwise true exactly for a point inside the image whose
  // alpha is not 0.
  bool HitTest(int32_t x, int32_t y) const override { return alpha_mask_.Hits(x, y); }

  const AlphaMask& alpha_mask() const { return alpha_mask_; }
  // The texture of a loaded image made by this backend, nullptr otherwise.
  static IDirect3DTexture9* TextureOf(const ImageResource* image);

 protected:
  // Fails for bytes D3DX cannot read, for an image beyond the image limits and when no
  // texture can be made (no device); the reason goes to the error output.
  LoadResult Load(std::vector<uint8_t>& bytes) override;
  void ReleaseLoaded() override;

 private:
  RenderDevice& device_;
  ImageSize size_;
  ComRef<IDirect3DTexture9> texture_;
  AlphaMask alpha_mask_;
};

}  // namespace cva
