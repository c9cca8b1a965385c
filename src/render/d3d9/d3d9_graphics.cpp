#include "render/d3d9/d3d9_graphics.h"

#include <optional>

#include "render/d3d9/d3d9_image.h"
#include "render/d3d9/d3d9_primitives.h"
#include "render/d3d9/d3d9_text_primitive.h"
#include "render/matrix_transform.h"

namespace cva {
namespace {

D3DRENDERSTATETYPE DeviceState(RenderState state) {
  switch (state) {
    case RenderState::kAlphaTestEnable:
      return D3DRS_ALPHATESTENABLE;
    case RenderState::kAlphaFunc:
      return D3DRS_ALPHAFUNC;
    case RenderState::kAlphaRef:
      return D3DRS_ALPHAREF;
    case RenderState::kAlphaBlendEnable:
      return D3DRS_ALPHABLENDENABLE;
    case RenderState::kBlendOp:
      return D3DRS_BLENDOP;
    case RenderState::kSrcBlend:
      return D3DRS_SRCBLEND;
    case RenderState::kDestBlend:
      return D3DRS_DESTBLEND;
    case RenderState::kZEnable:
      return D3DRS_ZENABLE;
    case RenderState::kZWriteEnable:
      return D3DRS_ZWRITEENABLE;
    case RenderState::kZFunc:
      return D3DRS_ZFUNC;
  }
  return D3DRS_FORCE_DWORD;
}

std::optional<DWORD> DeviceCompare(uint32_t value) {
  switch (static_cast<CompareFunc>(value)) {
    case CompareFunc::kGreater:
      return D3DCMP_GREATER;
    case CompareFunc::kGreaterEqual:
      return D3DCMP_GREATEREQUAL;
    case CompareFunc::kAlways:
      return D3DCMP_ALWAYS;
  }
  return std::nullopt;
}

std::optional<DWORD> DeviceBlend(uint32_t value) {
  switch (static_cast<BlendFactor>(value)) {
    case BlendFactor::kZero:
      return D3DBLEND_ZERO;
    case BlendFactor::kOne:
      return D3DBLEND_ONE;
    case BlendFactor::kSrcAlpha:
      return D3DBLEND_SRCALPHA;
    case BlendFactor::kInvSrcAlpha:
      return D3DBLEND_INVSRCALPHA;
    case BlendFactor::kInvDestColour:
      return D3DBLEND_INVDESTCOLOR;
  }
  return std::nullopt;
}

// The device's value for a portable one: booleans and the alpha reference as they are, the
// enumerations mapped; nothing for a value the device has no counterpart of.
std::optional<DWORD> DeviceValue(RenderState state, uint32_t value) {
  switch (state) {
    case RenderState::kAlphaFunc:
    case RenderState::kZFunc:
      return DeviceCompare(value);
    case RenderState::kSrcBlend:
    case RenderState::kDestBlend:
      return DeviceBlend(value);
    case RenderState::kBlendOp:
      if (static_cast<BlendOp>(value) == BlendOp::kAdd) return D3DBLENDOP_ADD;
      return std::nullopt;
    case RenderState::kAlphaTestEnable:
    case RenderState::kAlphaBlendEnable:
    case RenderState::kZEnable:
    case RenderState::kZWriteEnable:
      return value != 0 ? TRUE : FALSE;
    case RenderState::kAlphaRef:
      return value;
  }
  return std::nullopt;
}

}  // namespace

std::unique_ptr<Transform> D3d9Graphics::CreateTransform() {
  return std::make_unique<MatrixTransform>();
}

std::unique_ptr<SolidQuad> D3d9Graphics::CreateSolidQuad() {
  return std::make_unique<D3d9SolidQuad>(device_);
}

std::unique_ptr<Sprite> D3d9Graphics::CreateSprite() {
  return std::make_unique<D3d9Sprite>(device_);
}

std::unique_ptr<TextPrimitive> D3d9Graphics::CreateTextPrimitive() {
  return std::make_unique<D3d9TextPrimitive>(device_);
}

std::unique_ptr<MeshPrimitive> D3d9Graphics::CreateMesh(int32_t vertex_count, int32_t index_count) {
  return std::make_unique<D3d9Mesh>(device_, vertex_count, index_count);
}

std::unique_ptr<ImageResource> D3d9Graphics::CreateImageResource(ResourceProvider& owner,
                                                                 const EncodedText& name) {
  return std::make_unique<D3d9Image>(device_, owner, name);
}

void D3d9Graphics::BeginMask(const Transform&, Vec2) {
  EndMask();
  mask_in_use_ = true;
}

void D3d9Graphics::EndMask() {
  if (!mask_in_use_) return;
  if (IDirect3DDevice9* d = device_.device()) d->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
  mask_in_use_ = false;
}

void D3d9Graphics::SetRenderState(RenderState state, uint32_t value) {
  IDirect3DDevice9* d = device_.device();
  const std::optional<DWORD> device_value = DeviceValue(state, value);
  if (d && device_value) d->SetRenderState(DeviceState(state), *device_value);
}

}  // namespace cva
