#pragma once

#include <cstdint>
#include <memory>

#include "render/d3d9/render_device.h"
#include "render/draw_state.h"
#include "render/graphics_backend.h"

namespace cva {

// The Direct3D 9 graphics backend over the render device: portable MatrixTransforms handed to
// the device at draw time, primitives with managed vertex and index buffers, textures made by
// the D3DX image loader, text from GDI glyphs, and the one-bit depth mask. It is the graphics
// part of the players' ComposedProvider and the RenderStateTarget of their DrawState. With no
// device every primitive draws nothing and images fail to load.
class D3d9Graphics final : public GraphicsBackend, public RenderStateTarget {
 public:
  explicit D3d9Graphics(RenderDevice& device = RenderDevice::Instance()) : device_(device) {}

  // --- GraphicsBackend ---
  std::unique_ptr<Transform> CreateTransform() override;  // a MatrixTransform
  std::unique_ptr<SolidQuad> CreateSolidQuad() override;
  std::unique_ptr<Sprite> CreateSprite() override;
  std::unique_ptr<TextPrimitive> CreateTextPrimitive() override;  // GDI glyphs
  std::unique_ptr<MeshPrimitive> CreateMesh(int32_t vertex_count, int32_t index_count) override;
  std::unique_ptr<ImageResource> CreateImageResource(ResourceProvider& owner,
                                                     const EncodedText& name) override;
  // Ends any previous mask (clearing depth), then marks a mask in use.
  void BeginMask(const Transform& transform, Vec2 extent) override;
  // Clears depth to 1.0 when a mask is in use.
  void EndMask() override;

  // --- RenderStateTarget (DrawState::Apply): the device's render state of the same name ---
  void SetRenderState(RenderState state, uint32_t value) override;

  RenderDevice& device() { return device_; }

 private:
  RenderDevice& device_;
  bool mask_in_use_ = false;
};

}  // namespace cva
