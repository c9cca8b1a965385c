#include "render/soft/soft_primitives.h"

#include <algorithm>

#include "render/image_resource.h"

namespace cva::soft {
namespace {

const Matrix4 kIdentity = Matrix4::Identity();

}  // namespace

void Quad::SetSize(Vec2 size) {
  size_ = size;
  refill_ = true;
}

void Quad::Draw(const Transform& world, Colour colour) {
  if (refill_) {
    for (size_t i = 0; i < 4; ++i) {
      vertices_[i] = {kUnitQuad[i].x * size_.x, kUnitQuad[i].y * size_.y, 0.0f, 0.0f};
    }
    refill_ = false;
  }
  owner_.DrawFan(vertices_, SoftProvider::MatrixOf(world), colour, nullptr, kIdentity);
}

void TexturedQuad::SetImage(ImageResource* image) {
  texture_ = SoftProvider::TextureOf(image);
  const ImageSize size = image != nullptr ? image->Size() : ImageSize{};
  texture_width_ = size.width;
  texture_height_ = size.height;
}

void TexturedQuad::SetSize(Vec2 size) {
  size_ = size;
  refill_ = true;
}

void TexturedQuad::SetUvOffset(Vec2 offset) {
  uv_offset_ = offset;
  refill_ = true;
}

void TexturedQuad::Refill() {
  // One texel per pixel when the size equals the image's pixel size; the offset is in units
  // of the whole texture. Without a texture the coordinates collapse to the offset.
  Vec2 scale;
  if (texture_ != nullptr && texture_width_ > 0 && texture_height_ > 0) {
    scale = {size_.x / static_cast<float>(texture_width_),
             size_.y / static_cast<float>(texture_height_)};
  }
  for (size_t i = 0; i < 4; ++i) {
    const Vec2 c = kUnitQuad[i];
    vertices_[i] = {c.x * size_.x, c.y * size_.y, scale.x * c.x + uv_offset_.x,
                    scale.y * c.y + uv_offset_.y};
  }
}

void TexturedQuad::Draw(const Transform& world, Colour colour, const Transform& texture) {
  if (refill_) {
    Refill();
    refill_ = false;
  }
  owner_.DrawFan(vertices_, SoftProvider::MatrixOf(world), colour, texture_,
                 SoftProvider::MatrixOf(texture));
}

void TexturedQuad::DrawPlain(const Transform& world, Colour colour) {
  if (refill_) {
    Refill();
    refill_ = false;
  }
  owner_.DrawFan(vertices_, SoftProvider::MatrixOf(world), colour, texture_, kIdentity);
}

// The counts arrive within the mesh limits (the provider clamps them).
Mesh::Mesh(SoftProvider& owner, int32_t vertex_count, int32_t index_count)
    : owner_(owner),
      vertices_(static_cast<size_t>(vertex_count)),
      index_count_(static_cast<size_t>(index_count)) {}

void Mesh::SetImage(ImageResource* image) {
  texture_ = SoftProvider::TextureOf(image);
}

void Mesh::SetPosition(int32_t vertex, Vec2 position) {
  if (locked_ && vertex >= 0 && static_cast<size_t>(vertex) < vertices_.size()) {
    vertices_[static_cast<size_t>(vertex)].x = position.x;
    vertices_[static_cast<size_t>(vertex)].y = position.y;
  }
}

void Mesh::SetUv(int32_t vertex, Vec2 uv) {
  if (locked_ && vertex >= 0 && static_cast<size_t>(vertex) < vertices_.size()) {
    vertices_[static_cast<size_t>(vertex)].u = uv.x;
    vertices_[static_cast<size_t>(vertex)].v = uv.y;
  }
}

void Mesh::SetIndices(std::span<const uint16_t> indices) {
  indices_.assign(indices.begin(), indices.begin() + std::min(indices.size(), index_count_));
}

void Mesh::Draw(const Transform& world, Colour colour, const Transform& texture) {
  // Whole triangles of the index count only (index count / 3).
  const size_t used = std::min(indices_.size(), index_count_ / 3 * 3);
  owner_.DrawIndexed(vertices_, std::span(indices_).first(used), SoftProvider::MatrixOf(world),
                     colour, texture_, SoftProvider::MatrixOf(texture));
}

void Mesh::ReleaseBuffers() {
  vertices_.clear();
  indices_.clear();
  index_count_ = 0;
}

}  // namespace cva::soft
