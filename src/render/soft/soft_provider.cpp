#include "render/soft/soft_provider.h"

#include <typeinfo>

#include "render/inert_primitives.h"
#include "render/matrix_transform.h"
#include "render/soft/soft_image.h"
#include "render/soft/soft_primitives.h"
#include "render/soft/soft_rasterizer.h"

namespace cva {
namespace {

const Matrix4 kIdentity = Matrix4::Identity();

}  // namespace

SoftProvider::SoftProvider(int32_t width, int32_t height)
    : raster_(std::make_unique<SoftRasterizer>(width, height)) {}

SoftProvider::~SoftProvider() = default;

std::unique_ptr<Transform> SoftProvider::CreateTransform() {
  return std::make_unique<MatrixTransform>();
}

std::unique_ptr<SolidQuad> SoftProvider::CreateSolidQuad() {
  return std::make_unique<soft::Quad>(*this);
}

std::unique_ptr<Sprite> SoftProvider::CreateSprite() {
  return std::make_unique<soft::TexturedQuad>(*this);
}

std::unique_ptr<TextPrimitive> SoftProvider::CreateTextPrimitive() {
  if (text_factory_) return text_factory_(*this);
  return std::make_unique<InertTextPrimitive>();
}

std::unique_ptr<MeshPrimitive> SoftProvider::CreateMesh(int32_t vertex_count, int32_t index_count) {
  return std::make_unique<soft::Mesh>(*this, vertex_count, index_count);
}

std::unique_ptr<ImageResource> SoftProvider::CreateImageResource(ResourceProvider& owner,
                                                                 const EncodedText& name) {
  return std::make_unique<SoftImage>(owner, name);
}

void SoftProvider::BeginMask(const Transform&, Vec2) {
  EndMask();
  mask_in_use_ = true;
}

void SoftProvider::EndMask() {
  if (!mask_in_use_) return;
  raster_->ClearDepth(1.0f);
  mask_in_use_ = false;
}

void SoftProvider::SetRenderState(RenderState state, uint32_t value) {
  raster_->SetRenderState(state, value);
}

void SoftProvider::SetTextFactory(TextFactory factory) {
  text_factory_ = std::move(factory);
}

void SoftProvider::Resize(int32_t width, int32_t height) {
  raster_->Resize(width, height);
}

int32_t SoftProvider::width() const {
  return raster_->width();
}

int32_t SoftProvider::height() const {
  return raster_->height();
}

void SoftProvider::SetClearColour(Colour background) {
  clear_colour_ = {background.red, background.green, background.blue, 255};
}

void SoftProvider::BeginFrame() {
  raster_->ClearColour(clear_colour_);
  raster_->ClearDepth(1.0f);
  raster_->SetFrameStates();
  mask_in_use_ = false;
}

const SoftTexture& SoftProvider::framebuffer() const {
  raster_->Flush();
  return raster_->colour();
}

float SoftProvider::DepthAt(int32_t x, int32_t y) const {
  raster_->Flush();
  return raster_->DepthAt(x, y);
}

void SoftProvider::SetThreads(int32_t count) {
  raster_->SetThreads(count);
}

int32_t SoftProvider::threads() const {
  return raster_->threads();
}

void SoftProvider::Flush() {
  raster_->Flush();
}

void SoftProvider::SetFastPaths(bool on) {
  raster_->set_fast_paths(on);
}

void SoftProvider::SetDrawObserver(DrawObserver observer) {
  draw_observer_ = std::move(observer);
}

void SoftProvider::SetCullCounterClockwise(bool on) {
  raster_->set_cull_counter_clockwise(on);
}

void SoftProvider::DrawFan(std::span<const SoftVertex> vertices, const Matrix4& world,
                           Colour colour, const SoftTexture* texture,
                           const Matrix4& texture_matrix) {
  if (draw_observer_) draw_observer_(vertices, world, colour, texture);
  raster_->DrawFan(vertices, world, colour, texture, texture_matrix);
}

void SoftProvider::DrawIndexed(std::span<const SoftVertex> vertices,
                               std::span<const uint16_t> indices, const Matrix4& world,
                               Colour colour, const SoftTexture* texture,
                               const Matrix4& texture_matrix) {
  if (draw_observer_) draw_observer_(vertices, world, colour, texture);
  raster_->DrawIndexed(vertices, indices, world, colour, texture, texture_matrix);
}

const Matrix4& SoftProvider::MatrixOf(const Transform& transform) {
  // MatrixTransform is final: an exact type match is the same test as a cast.
  if (typeid(transform) != typeid(MatrixTransform)) return kIdentity;
  return static_cast<const MatrixTransform&>(transform).matrix();
}

const SoftTexture* SoftProvider::TextureOf(const ImageResource* image) {
  if (image == nullptr || typeid(*image) != typeid(SoftImage) || !image->done()) return nullptr;
  const SoftTexture& texture = static_cast<const SoftImage*>(image)->texture();
  return texture.empty() ? nullptr : &texture;
}

}  // namespace cva
