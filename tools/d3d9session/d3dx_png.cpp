#include "d3dx_png.h"

#include <d3dx9.h>

#include "render/d3d9/render_device.h"
#include "system/text_codec.h"
#include "system/windows/com_ref.h"

namespace cva::d3d9_session {
namespace {

std::wstring Wide(const std::string& utf8) {
  const std::u16string units = Utf8ToUtf16(utf8);
  return std::wstring(units.begin(), units.end());
}

ComRef<IDirect3DSurface9> SystemSurface(UINT width, UINT height) {
  ComRef<IDirect3DSurface9> surface;
  IDirect3DDevice9* device = RenderDevice::Instance().device();
  if (!device ||
      FAILED(device->CreateOffscreenPlainSurface(width, height, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM,
                                                 surface.Receive(), nullptr)))
    return {};
  return surface;
}

uint8_t* Pixel(const D3DLOCKED_RECT& locked, int32_t x, int32_t y) {
  return static_cast<uint8_t*>(locked.pBits) + static_cast<size_t>(y) * locked.Pitch +
         static_cast<size_t>(x) * 4;
}

}  // namespace

bool ReadImageD3dx(const std::string& path, RgbaBitmap& out) {
  const std::wstring file = Wide(path);
  D3DXIMAGE_INFO info{};
  if (FAILED(D3DXGetImageInfoFromFileW(file.c_str(), &info))) return false;
  ComRef<IDirect3DSurface9> surface = SystemSurface(info.Width, info.Height);
  D3DLOCKED_RECT locked{};
  if (!surface ||
      FAILED(D3DXLoadSurfaceFromFileW(surface.get(), nullptr, nullptr, file.c_str(), nullptr,
                                      D3DX_FILTER_NONE, 0, nullptr)) ||
      FAILED(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY)))
    return false;
  out = RgbaBitmap(static_cast<int32_t>(info.Width), static_cast<int32_t>(info.Height));
  for (int32_t y = 0; y < out.height(); ++y)
    for (int32_t x = 0; x < out.width(); ++x) {
      const uint8_t* bgra = Pixel(locked, x, y);
      out.Set(x, y, Texel{bgra[2], bgra[1], bgra[0], bgra[3]});
    }
  surface->UnlockRect();
  return true;
}

bool WritePngD3dx(const std::string& path, const RgbaBitmap& bitmap) {
  if (bitmap.empty()) return false;
  ComRef<IDirect3DSurface9> surface =
      SystemSurface(static_cast<UINT>(bitmap.width()), static_cast<UINT>(bitmap.height()));
  D3DLOCKED_RECT locked{};
  if (!surface || FAILED(surface->LockRect(&locked, nullptr, 0))) return false;
  for (int32_t y = 0; y < bitmap.height(); ++y)
    for (int32_t x = 0; x < bitmap.width(); ++x) {
      const Texel t = bitmap.At(x, y);
      uint8_t* bgra = Pixel(locked, x, y);
      bgra[0] = t.b;
      bgra[1] = t.g;
      bgra[2] = t.r;
      bgra[3] = t.a;
    }
  surface->UnlockRect();
  return SUCCEEDED(
      D3DXSaveSurfaceToFileW(Wide(path).c_str(), D3DXIFF_PNG, surface.get(), nullptr, nullptr));
}

}  // namespace cva::d3d9_session
