#pragma once

// The drawing objects of the software renderer. Each keeps its own vertices, recomputed only
// when its size or offset changes, and draws through the provider's rasterizer with the world
// matrix, the colour as material and, for textured ones, the texture matrix.

#include <array>
#include <span>
#include <vector>

#include "render/primitives.h"
#include "render/soft/soft_provider.h"

namespace cva::soft {

// Corners of the unit quad, drawn as a triangle fan: (0, 0), (1, 0), (1, 1), (0, 1).
inline constexpr std::array<Vec2, 4> kUnitQuad = {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}};

class Quad final : public SolidQuad {
 public:
  explicit Quad(SoftProvider& owner) : owner_(owner) {}
  void SetSize(Vec2 size) override;
  void Draw(const Transform& world, Colour colour) override;

 private:
  SoftProvider& owner_;
  Vec2 size_;
  bool refill_ = false;
  std::array<SoftVertex, 4> vertices_{};
};

class TexturedQuad final : public Sprite {
 public:
  explicit TexturedQuad(SoftProvider& owner) : owner_(owner) {}
  // Takes the image's texture and pixel size (none and 0 by 0 without an image or before it
  // has loaded). The coordinates change at the next draw after SetSize or SetUvOffset.
  void SetImage(ImageResource* image) override;
  void SetSize(Vec2 size) override;
  void SetUvOffset(Vec2 offset) override;
  void Draw(const Transform& world, Colour colour, const Transform& texture) override;
  void DrawPlain(const Transform& world, Colour colour) override;

 private:
  void Refill();

  SoftProvider& owner_;
  const SoftTexture* texture_ = nullptr;
  Vec2 size_;
  Vec2 uv_offset_;
  int32_t texture_width_ = 0;
  int32_t texture_height_ = 0;
  bool refill_ = false;
  std::array<SoftVertex, 4> vertices_{};
};

// An indexed triangle list. Vertices are written only while locked and only inside the
// vertex count; indices beyond the index count are dropped.
class Mesh final : public MeshPrimitive {
 public:
  Mesh(SoftProvider& owner, int32_t vertex_count, int32_t index_count);
  void SetImage(ImageResource* image) override;
  void LockVertices() override { locked_ = true; }
  void UnlockVertices() override { locked_ = false; }
  void SetPosition(int32_t vertex, Vec2 position) override;
  void SetUv(int32_t vertex, Vec2 uv) override;
  void SetIndices(std::span<const uint16_t> indices) override;
  void Draw(const Transform& world, Colour colour, const Transform& texture) override;
  void ReleaseBuffers() override;

 private:
  SoftProvider& owner_;
  const SoftTexture* texture_ = nullptr;
  bool locked_ = false;
  std::vector<SoftVertex> vertices_;
  std::vector<uint16_t> indices_;
  size_t index_count_;
};

}  // namespace cva::soft
