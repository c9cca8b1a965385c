#include "render/d3d9/d3d9_primitives.h"

#include <algorithm>
#include <cstring>

#include "render/d3d9/d3d9_image.h"

namespace cva {
namespace {

using d3d9::ColouredVertex;
using d3d9::kUnitQuad;
using d3d9::TexturedVertex;

const Matrix4 kIdentity = Matrix4::Identity();

ComRef<IDirect3DVertexBuffer9> MakeVertexBuffer(RenderDevice& device, size_t bytes, DWORD fvf) {
  ComRef<IDirect3DVertexBuffer9> buffer;
  IDirect3DDevice9* d = device.device();
  if (!d || bytes == 0 || bytes > UINT_MAX ||
      FAILED(d->CreateVertexBuffer(static_cast<UINT>(bytes), 0, fvf, D3DPOOL_MANAGED,
                                   buffer.Receive(), nullptr)))
    return {};
  return buffer;
}

// Writes `count` vertices from `fill` into the whole buffer; nothing without a buffer.
template <class Vertex, class Fill>
void WriteVertices(IDirect3DVertexBuffer9* buffer, size_t count, Fill fill) {
  void* data = nullptr;
  if (!buffer || FAILED(buffer->Lock(0, 0, &data, 0))) return;
  auto* vertices = static_cast<Vertex*>(data);
  for (size_t i = 0; i < count; ++i) vertices[i] = fill(i);
  buffer->Unlock();
}

void SetMatrix(IDirect3DDevice9& d, D3DTRANSFORMSTATETYPE state, const Matrix4& matrix) {
  const D3DMATRIX m = d3d9::ToD3d(matrix);
  d.SetTransform(state, &m);
}

}  // namespace

// --- D3d9SolidQuad ---

D3d9SolidQuad::D3d9SolidQuad(RenderDevice& device)
    : device_(device),
      vertices_(MakeVertexBuffer(device, 4 * sizeof(ColouredVertex), d3d9::kColouredFvf)) {}

void D3d9SolidQuad::SetSize(Vec2 size) {
  size_ = size;
  refill_ = true;
}

void D3d9SolidQuad::Draw(const Transform& world, Colour colour) {
  IDirect3DDevice9* d = device_.device();
  if (!d || !vertices_) return;
  if (refill_) {
    WriteVertices<ColouredVertex>(vertices_.get(), 4, [this](size_t i) {
      return ColouredVertex{kUnitQuad[i].x * size_.x, kUnitQuad[i].y * size_.y, 0.0f, 0xFFFFFFFF};
    });
    refill_ = false;
  }
  d->SetTexture(0, nullptr);
  SetMatrix(*d, D3DTS_WORLD, d3d9::MatrixOf(world));
  d3d9::SetColourMaterial(*d, colour);
  d->SetStreamSource(0, vertices_.get(), 0, sizeof(ColouredVertex));
  d->SetFVF(d3d9::kColouredFvf);
  d->DrawPrimitive(D3DPT_TRIANGLEFAN, 0, 2);
}

// --- D3d9Sprite ---

D3d9Sprite::D3d9Sprite(RenderDevice& device)
    : device_(device),
      vertices_(MakeVertexBuffer(device, 4 * sizeof(TexturedVertex), d3d9::kTexturedFvf)) {}

void D3d9Sprite::SetImage(ImageResource* image) {
  texture_ = ComRef<IDirect3DTexture9>::Share(D3d9Image::TextureOf(image));
  const ImageSize size = image != nullptr ? image->Size() : ImageSize{};
  texture_width_ = size.width;
  texture_height_ = size.height;
}

void D3d9Sprite::SetSize(Vec2 size) {
  size_ = size;
  refill_ = true;
}

void D3d9Sprite::SetUvOffset(Vec2 offset) {
  uv_offset_ = offset;
  refill_ = true;
}

void D3d9Sprite::Refill() {
  // One texel per pixel when the size equals the image's pixel size; the offset is in units
  // of the whole texture. Without a texture the coordinates collapse to the offset.
  Vec2 scale;
  if (texture_ && texture_width_ > 0 && texture_height_ > 0) {
    scale = {size_.x / static_cast<float>(texture_width_),
             size_.y / static_cast<float>(texture_height_)};
  }
  WriteVertices<TexturedVertex>(vertices_.get(), 4, [&](size_t i) {
    const Vec2 c = kUnitQuad[i];
    return TexturedVertex{c.x * size_.x,
                          c.y * size_.y,
                          0.0f,
                          0xFFFFFFFF,
                          scale.x * c.x + uv_offset_.x,
                          scale.y * c.y + uv_offset_.y};
  });
}

void D3d9Sprite::Draw(const Transform& world, Colour colour, const Transform& texture) {
  DrawMatrices(d3d9::MatrixOf(world), colour, d3d9::MatrixOf(texture));
}

void D3d9Sprite::DrawPlain(const Transform& world, Colour colour) {
  DrawMatrices(d3d9::MatrixOf(world), colour, kIdentity);
}

void D3d9Sprite::DrawWithTexture(IDirect3DTexture9* texture, int32_t width, int32_t height,
                                 const Matrix4& world, Colour colour,
                                 const Matrix4& texture_matrix) {
  if ((texture != nullptr) != static_cast<bool>(texture_) || width != texture_width_ ||
      height != texture_height_)
    refill_ = true;
  texture_ = ComRef<IDirect3DTexture9>::Share(texture);
  texture_width_ = width;
  texture_height_ = height;
  DrawMatrices(world, colour, texture_matrix);
}

void D3d9Sprite::DrawMatrices(const Matrix4& world, Colour colour, const Matrix4& texture_matrix) {
  IDirect3DDevice9* d = device_.device();
  if (!d || !vertices_) return;
  if (refill_) {
    Refill();
    refill_ = false;
  }
  d->SetTexture(0, texture_.get());
  SetMatrix(*d, D3DTS_TEXTURE0, texture_matrix);
  SetMatrix(*d, D3DTS_WORLD, world);
  d3d9::SetColourMaterial(*d, colour);
  d->SetStreamSource(0, vertices_.get(), 0, sizeof(TexturedVertex));
  d->SetFVF(d3d9::kTexturedFvf);
  d->DrawPrimitive(D3DPT_TRIANGLEFAN, 0, 2);
}

// --- D3d9Mesh ---

// The counts arrive within the mesh limits (the provider clamps them). Both buffers start
// zeroed: vertices at the origin and every triangle empty until the scene writes them.
D3d9Mesh::D3d9Mesh(RenderDevice& device, int32_t vertex_count, int32_t index_count)
    : device_(device),
      vertices_(MakeVertexBuffer(
          device, static_cast<size_t>(std::max(vertex_count, 0)) * sizeof(TexturedVertex),
          d3d9::kTexturedFvf)) {
  IDirect3DDevice9* d = device.device();
  const size_t index_bytes = static_cast<size_t>(std::max(index_count, 0)) * sizeof(uint16_t);
  if (!vertices_ || !d || index_bytes == 0 ||
      FAILED(d->CreateIndexBuffer(static_cast<UINT>(index_bytes), 0, D3DFMT_INDEX16,
                                  D3DPOOL_MANAGED, indices_.Receive(), nullptr))) {
    vertices_.Reset();
    indices_.Reset();
    return;
  }
  vertex_count_ = vertex_count;
  index_count_ = index_count;
  WriteVertices<TexturedVertex>(vertices_.get(), static_cast<size_t>(vertex_count_),
                                [](size_t) { return TexturedVertex{}; });
  void* data = nullptr;
  if (SUCCEEDED(indices_->Lock(0, 0, &data, 0))) {
    std::memset(data, 0, index_bytes);
    indices_->Unlock();
  }
}

D3d9Mesh::~D3d9Mesh() {
  UnlockVertices();
}

void D3d9Mesh::SetImage(ImageResource* image) {
  texture_ = ComRef<IDirect3DTexture9>::Share(D3d9Image::TextureOf(image));
}

void D3d9Mesh::LockVertices() {
  void* data = nullptr;
  if (vertices_ && !locked_ && SUCCEEDED(vertices_->Lock(0, 0, &data, 0))) locked_ = data;
}

void D3d9Mesh::UnlockVertices() {
  if (!locked_) return;
  vertices_->Unlock();
  locked_ = nullptr;
}

d3d9::TexturedVertex* D3d9Mesh::VertexAt(int32_t vertex) const {
  if (!locked_ || vertex < 0 || vertex >= vertex_count_) return nullptr;
  return static_cast<TexturedVertex*>(locked_) + vertex;
}

void D3d9Mesh::SetPosition(int32_t vertex, Vec2 position) {
  if (TexturedVertex* v = VertexAt(vertex)) {
    v->x = position.x;
    v->y = position.y;
    v->z = 0.0f;
  }
}

void D3d9Mesh::SetUv(int32_t vertex, Vec2 uv) {
  if (TexturedVertex* v = VertexAt(vertex)) {
    v->u = uv.x;
    v->v = uv.y;
  }
}

void D3d9Mesh::SetIndices(std::span<const uint16_t> indices) {
  void* data = nullptr;
  if (!indices_ || FAILED(indices_->Lock(0, 0, &data, 0))) return;
  auto* out = static_cast<uint16_t*>(data);
  const size_t count = std::min(indices.size(), static_cast<size_t>(index_count_));
  const auto names_vertex = [this](uint16_t index) { return index < vertex_count_; };
  size_t i = 0;
  for (; i + 3 <= count; i += 3) {
    const bool whole =
        names_vertex(indices[i]) && names_vertex(indices[i + 1]) && names_vertex(indices[i + 2]);
    for (size_t k = 0; k < 3; ++k) out[i + k] = whole ? indices[i + k] : 0;
  }
  for (; i < count; ++i) out[i] = names_vertex(indices[i]) ? indices[i] : 0;  // never drawn
  indices_->Unlock();
}

void D3d9Mesh::Draw(const Transform& world, Colour colour, const Transform& texture) {
  IDirect3DDevice9* d = device_.device();
  const int32_t triangles = index_count_ / 3;
  if (!d || !vertices_ || !indices_ || triangles == 0 || locked_) return;
  d->SetTexture(0, texture_.get());
  SetMatrix(*d, D3DTS_TEXTURE0, d3d9::MatrixOf(texture));
  SetMatrix(*d, D3DTS_WORLD, d3d9::MatrixOf(world));
  d3d9::SetColourMaterial(*d, colour);
  d->SetStreamSource(0, vertices_.get(), 0, sizeof(TexturedVertex));
  d->SetFVF(d3d9::kTexturedFvf);
  d->SetIndices(indices_.get());
  d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, static_cast<UINT>(vertex_count_), 0,
                          static_cast<UINT>(triangles));
}

void D3d9Mesh::ReleaseBuffers() {
  UnlockVertices();
  vertices_.Reset();
  indices_.Reset();
  vertex_count_ = 0;
  index_count_ = 0;
}

}  // namespace cva
