#pragma once

// The drawing objects of the Direct3D 9 backend. Each keeps its own small vertex buffer in the
// managed pool, rewritten only when its size or offset changed, and draws with the world
// matrix, the colour as material and, for textured ones, the texture matrix; the device's
// states are set again for every draw. Without a device they draw nothing.

#include <d3d9.h>

#include <cstdint>
#include <span>

#include "render/d3d9/d3d9_draw.h"
#include "render/d3d9/render_device.h"
#include "render/matrix.h"
#include "render/primitives.h"
#include "system/windows/com_ref.h"

namespace cva {

class D3d9SolidQuad final : public SolidQuad {
 public:
  explicit D3d9SolidQuad(RenderDevice& device);
  void SetSize(Vec2 size) override;
  void Draw(const Transform& world, Colour colour) override;

 private:
  RenderDevice& device_;
  ComRef<IDirect3DVertexBuffer9> vertices_;
  Vec2 size_;
  bool refill_ = false;
};

class D3d9Sprite final : public Sprite {
 public:
  explicit D3d9Sprite(RenderDevice& device);
  // Takes the image's texture and pixel size (none and 0 by 0 without an image or before it
  // has loaded). The texture coordinates change at the next draw after SetSize or SetUvOffset.
  void SetImage(ImageResource* image) override;
  void SetSize(Vec2 size) override;
  void SetUvOffset(Vec2 offset) override;
  void Draw(const Transform& world, Colour colour, const Transform& texture) override;
  void DrawPlain(const Transform& world, Colour colour) override;

  // Draws with `texture` (none: the plain colour) of width x height texels in place of an
  // image's (glyph pages). The coordinates are recomputed when the texel size differs from
  // the last one drawn with.
  void DrawWithTexture(IDirect3DTexture9* texture, int32_t width, int32_t height,
                       const Matrix4& world, Colour colour, const Matrix4& texture_matrix);

 private:
  void DrawMatrices(const Matrix4& world, Colour colour, const Matrix4& texture_matrix);
  void Refill();

  RenderDevice& device_;
  ComRef<IDirect3DVertexBuffer9> vertices_;
  ComRef<IDirect3DTexture9> texture_;
  Vec2 size_;
  Vec2 uv_offset_;
  int32_t texture_width_ = 0;
  int32_t texture_height_ = 0;
  bool refill_ = false;
};

// An indexed triangle list. Vertices are written only while locked and only inside the vertex
// count; indices beyond the index count are dropped, and a triangle naming a vertex outside
// the count is replaced by an empty one, so the device never reads past the vertex buffer.
class D3d9Mesh final : public MeshPrimitive {
 public:
  D3d9Mesh(RenderDevice& device, int32_t vertex_count, int32_t index_count);
  ~D3d9Mesh() override;
  void SetImage(ImageResource* image) override;
  void LockVertices() override;
  void UnlockVertices() override;
  void SetPosition(int32_t vertex, Vec2 position) override;
  void SetUv(int32_t vertex, Vec2 uv) override;
  void SetIndices(std::span<const uint16_t> indices) override;
  void Draw(const Transform& world, Colour colour, const Transform& texture) override;
  void ReleaseBuffers() override;

 private:
  // Vertex `vertex` of the locked buffer; nullptr when not locked or outside the count.
  d3d9::TexturedVertex* VertexAt(int32_t vertex) const;

  RenderDevice& device_;
  ComRef<IDirect3DVertexBuffer9> vertices_;
  ComRef<IDirect3DIndexBuffer9> indices_;
  ComRef<IDirect3DTexture9> texture_;
  int32_t vertex_count_ = 0;
  int32_t index_count_ = 0;
  void* locked_ = nullptr;
};

}  // namespace cva
