#include "render/d3d9/d3d9_image.h"

#include <d3dx9.h>

#include <string>
#include <typeinfo>

#include "render/image/image_limits.h"
#include "stream/text_conversion.h"
#include "system/services.h"

namespace cva {
namespace {

// The alpha of the image at its own size: the file loaded without filtering into a
// system-memory A8R8G8B8 surface of the image's width and height. (The texture cannot serve:
// its sides are rounded up to powers of two and the image stretched into them.)
AlphaMask MaskOf(IDirect3DDevice9& device, const std::vector<uint8_t>& bytes, ImageSize size) {
  ComRef<IDirect3DSurface9> surface;
  if (FAILED(device.CreateOffscreenPlainSurface(static_cast<UINT>(size.width),
                                                static_cast<UINT>(size.height), D3DFMT_A8R8G8B8,
                                                D3DPOOL_SYSTEMMEM, surface.Receive(), nullptr)) ||
      FAILED(D3DXLoadSurfaceFromFileInMemory(surface.get(), nullptr, nullptr, bytes.data(),
                                             static_cast<UINT>(bytes.size()), nullptr,
                                             D3DX_FILTER_NONE, 0, nullptr)))
    return {};
  D3DLOCKED_RECT locked{};
  if (FAILED(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY)) || locked.Pitch < 0) return {};
  // The alpha is byte 3 of each pixel (B, G, R, A in memory).
  AlphaMask mask = AlphaMask::FromRows(static_cast<const uint8_t*>(locked.pBits), size.width,
                                       size.height, static_cast<size_t>(locked.Pitch), 3);
  surface->UnlockRect();
  return mask;
}

}  // namespace

IDirect3DTexture9* D3d9Image::TextureOf(const ImageResource* image) {
  if (image == nullptr || typeid(*image) != typeid(D3d9Image) || !image->done()) return nullptr;
  return static_cast<const D3d9Image*>(image)->texture_.get();
}

D3d9Image::LoadResult D3d9Image::Load(std::vector<uint8_t>& bytes) {
  ReleaseLoaded();
  auto fail = [this](const std::string& reason) {
    SystemServices().ErrorOutput(ToUtf8(name()) + ": " + reason);
    ReleaseLoaded();
    return kLoadFailed;
  };
  D3DXIMAGE_INFO info{};
  if (bytes.empty() || bytes.size() > UINT_MAX ||
      FAILED(
          D3DXGetImageInfoFromFileInMemory(bytes.data(), static_cast<UINT>(bytes.size()), &info)))
    return fail("not an image file the image loader reads");
  std::string error;
  if (!ImageSizeAccepted(info.Width, info.Height, error)) return fail(error);
  size_ = {static_cast<int32_t>(info.Width), static_cast<int32_t>(info.Height)};

  IDirect3DDevice9* device = device_.device();
  if (!device || FAILED(D3DXCreateTextureFromFileInMemory(
                     device, bytes.data(), static_cast<UINT>(bytes.size()), texture_.Receive())))
    return fail("no texture could be made of the image");
  if (info.Format == D3DFMT_A8R8G8B8 || info.Format == D3DFMT_A8B8G8R8)
    alpha_mask_ = MaskOf(*device, bytes, size_);
  return kLoaded;
}

void D3d9Image::ReleaseLoaded() {
  size_ = {};
  texture_.Reset();
  alpha_mask_ = {};
}

}  // namespace cva
