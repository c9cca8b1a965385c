#include "render/d3d9/render_device.h"

#include <d3dx9.h>

namespace cva {
namespace {

// Material colours of 255 rather than 1: with the white global ambient every channel saturates,
// so a primitive that sets no material of its own draws its texture unchanged.
D3DMATERIAL9 DefaultMaterial() {
  D3DMATERIAL9 material{};
  const D3DCOLORVALUE full{255.0f, 255.0f, 255.0f, 255.0f};
  material.Diffuse = full;
  material.Ambient = full;
  material.Specular = full;
  material.Emissive = full;
  material.Power = 1.0f;
  return material;
}

}  // namespace

RenderDevice& RenderDevice::Instance() {
  static RenderDevice device;
  return device;
}

RenderDevice::~RenderDevice() {
  Release();
}

HRESULT RenderDevice::Create(HWND window) {
  d3d_ = ComRef<IDirect3D9>(Direct3DCreate9(D3D_SDK_VERSION));
  if (!d3d_) return E_FAIL;

  present_ = D3DPRESENT_PARAMETERS{};
  present_.BackBufferWidth = static_cast<UINT>(width_);
  present_.BackBufferHeight = static_cast<UINT>(height_);
  present_.BackBufferFormat = D3DFMT_UNKNOWN;
  present_.BackBufferCount = 1;
  present_.MultiSampleType = D3DMULTISAMPLE_NONE;
  present_.MultiSampleQuality = 0;
  present_.SwapEffect = D3DSWAPEFFECT_DISCARD;
  present_.hDeviceWindow = nullptr;  // the focus window
  present_.Windowed = TRUE;          // full screen is a display-mode switch and a borderless window
  present_.EnableAutoDepthStencil = TRUE;
  present_.AutoDepthStencilFormat = D3DFMT_D16;
  present_.Flags = 0;
  present_.FullScreen_RefreshRateInHz = 0;
  present_.PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;

  static constexpr struct {
    D3DDEVTYPE type;
    DWORD behaviour;
  } kAttempts[] = {
      {D3DDEVTYPE_HAL, D3DCREATE_HARDWARE_VERTEXPROCESSING},
      {D3DDEVTYPE_HAL, D3DCREATE_SOFTWARE_VERTEXPROCESSING},
      {D3DDEVTYPE_REF, D3DCREATE_HARDWARE_VERTEXPROCESSING},
      {D3DDEVTYPE_REF, D3DCREATE_SOFTWARE_VERTEXPROCESSING},
  };
  for (const auto& attempt : kAttempts) {
    const HRESULT result = d3d_->CreateDevice(D3DADAPTER_DEFAULT, attempt.type, window,
                                              attempt.behaviour, &present_, device_.Receive());
    if (FAILED(result)) continue;
    // The hardware device's capabilities even when the reference device was made.
    D3DCAPS9 caps{};
    if (SUCCEEDED(d3d_->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &caps)))
      light_count_ = static_cast<int32_t>(caps.MaxActiveLights);
    return result;
  }
  return E_FAIL;  // the interface stays until Release
}

void RenderDevice::Resize(int32_t width, int32_t height) {
  width_ = width;
  height_ = height;
  reset_requested_ = true;
}

void RenderDevice::Release() {
  device_.Reset();
  d3d_.Reset();
}

bool RenderDevice::ResetDevice() {
  present_.BackBufferWidth = static_cast<UINT>(width_);
  present_.BackBufferHeight = static_cast<UINT>(height_);
  return SUCCEEDED(device_->Reset(&present_));
}

int32_t RenderDevice::Frame(FrameStep& step) {
  if (!device_) return 0;
  if (device_lost_) {
    if (device_->TestCooperativeLevel() != D3DERR_DEVICENOTRESET) return 0;
    if (!ResetDevice()) return 0;
    device_lost_ = false;
    reset_requested_ = false;
  }
  if (reset_requested_) {
    if (!ResetDevice()) return 0;
    reset_requested_ = false;
  }
  if (FAILED(
          device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clear_colour_, 1.0f, 0)))
    return E_FAIL;

  HRESULT status = device_->BeginScene();
  if (SUCCEEDED(status)) {
    SetFrameStates();
    step.RunFrameStep();
    status = device_->EndScene();
  }
  if (device_->Present(nullptr, nullptr, nullptr, nullptr) == D3DERR_DEVICELOST)
    device_lost_ = true;
  return status;
}

void RenderDevice::SetFrameStates() {
  IDirect3DDevice9* d = device_.get();
  // Camera: x from 0 at the left edge to the width at the right, y from 0 at the top to the
  // height at the bottom, depth 0 at the near end. The view is the identity.
  D3DXMATRIX projection;
  D3DXMatrixOrthoOffCenterLH(&projection, 0.0f, static_cast<float>(width_),
                             static_cast<float>(height_), 0.0f, 0.0f, 10.0f);
  const D3DXVECTOR3 eye(0.0f, 0.0f, 0.0f);
  const D3DXVECTOR3 target(0.0f, 0.0f, 1.0f);
  const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
  D3DXMATRIX view;
  D3DXMatrixLookAtLH(&view, &eye, &target, &up);
  d->SetTransform(D3DTS_VIEW, &view);
  d->SetTransform(D3DTS_PROJECTION, &projection);

  // Lighting with every light off and a white ambient: the colour reaching texture stage 0 is
  // the material's ambient colour with its diffuse alpha, which each primitive sets.
  d->SetRenderState(D3DRS_LIGHTING, TRUE);
  d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  d->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
  d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  d->SetRenderState(D3DRS_SPECULARENABLE, FALSE);
  d->SetRenderState(D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL);
  d->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_MATERIAL);
  d->SetRenderState(D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL);
  d->SetRenderState(D3DRS_COLORVERTEX, FALSE);
  d->SetRenderState(D3DRS_AMBIENT, 0xFFFFFFFF);

  // Stage 0 multiplies the texture's alpha by the material's (its colour operation keeps the
  // default, texture times current); textures repeat; texture coordinates pass through the
  // texture matrix each primitive sets.
  d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
  d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
  d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_CURRENT);
  d->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
  d->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);
  d->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
  d->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);

  for (int32_t i = 0; i < light_count_; ++i) d->LightEnable(static_cast<DWORD>(i), FALSE);

  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  d->SetTransform(D3DTS_TEXTURE0, &identity);
  const D3DMATERIAL9 material = DefaultMaterial();
  d->SetMaterial(&material);
}

bool RenderDevice::ReadBackBuffer(RgbaBitmap& out) {
  if (!device_) return false;
  ComRef<IDirect3DSurface9> back;
  if (FAILED(device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, back.Receive()))) return false;
  D3DSURFACE_DESC desc{};
  back->GetDesc(&desc);
  if (desc.Format != D3DFMT_X8R8G8B8 && desc.Format != D3DFMT_A8R8G8B8) return false;
  ComRef<IDirect3DSurface9> copy;
  if (FAILED(device_->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                                  D3DPOOL_SYSTEMMEM, copy.Receive(), nullptr)) ||
      FAILED(device_->GetRenderTargetData(back.get(), copy.get())))
    return false;
  D3DLOCKED_RECT locked{};
  if (FAILED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) return false;
  out = RgbaBitmap(static_cast<int32_t>(desc.Width), static_cast<int32_t>(desc.Height));
  for (int32_t y = 0; y < out.height(); ++y) {
    const auto* row =
        static_cast<const uint8_t*>(locked.pBits) + static_cast<size_t>(y) * locked.Pitch;
    for (int32_t x = 0; x < out.width(); ++x) {
      const uint8_t* bgrx = row + static_cast<size_t>(x) * 4;
      out.Set(x, y, Texel{bgrx[2], bgrx[1], bgrx[0], 255});
    }
  }
  copy->UnlockRect();
  return true;
}

}  // namespace cva
