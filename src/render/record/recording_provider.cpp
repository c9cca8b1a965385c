#include "render/record/recording_provider.h"

#include <typeinfo>

#include "render/inert_image.h"
#include "render/matrix_transform.h"
#include "render/record/recording_primitives.h"
#include "stream/text_conversion.h"

namespace cva {
namespace {

// Appends the record of one draw and returns it for the fields particular to its kind.
DrawRecord& DrawOf(RecordingProvider& owner, DrawRecord::Kind kind, int32_t id,
                   const Transform& world, Colour colour) {
  return owner.NewRecord(kind, id, RecordedMatrix(world), colour);
}

// Decodes nothing; its size is whatever the backend was told for its name.
class RecordedImage final : public InertImage {
 public:
  RecordedImage(ResourceProvider& owner, EncodedText name, const RecordingProvider& graphics)
      : InertImage(owner, std::move(name)), graphics_(graphics) {}
  ImageSize Size() const override {
    return done() ? graphics_.ImageSizeOf(ToNarrow(name())) : ImageSize{};
  }

 private:
  const RecordingProvider& graphics_;
};

}  // namespace

Matrix4 RecordedMatrix(const Transform& transform) {
  // MatrixTransform is final: an exact type match is the same test as a cast, only cheaper.
  if (typeid(transform) != typeid(MatrixTransform)) return Matrix4::Identity();
  return static_cast<const MatrixTransform&>(transform).matrix();
}

namespace record {

void Quad::Draw(const Transform& world, Colour colour) {
  DrawOf(owner_, DrawRecord::Kind::kSolidQuad, id_, world, colour);
}

void TexturedQuad::Draw(const Transform& world, Colour colour, const Transform& texture) {
  DrawOf(owner_, DrawRecord::Kind::kSprite, id_, world, colour).texture = RecordedMatrix(texture);
}

void TexturedQuad::DrawPlain(const Transform& world, Colour colour) {
  DrawOf(owner_, DrawRecord::Kind::kSpritePlain, id_, world, colour);
}

// The counts arrive within the mesh limits (the provider clamps them).
Mesh::Mesh(RecordingProvider& owner, int32_t vertex_count, int32_t index_count)
    : owner_(owner),
      id_(owner.NextPrimitiveId()),
      positions_(static_cast<size_t>(vertex_count)),
      uvs_(positions_.size()),
      index_count_(static_cast<size_t>(index_count)) {}

void Mesh::SetPosition(int32_t vertex, Vec2 position) {
  if (locked_ && vertex >= 0 && static_cast<size_t>(vertex) < positions_.size()) {
    positions_[static_cast<size_t>(vertex)] = position;
  }
}

void Mesh::SetUv(int32_t vertex, Vec2 uv) {
  if (locked_ && vertex >= 0 && static_cast<size_t>(vertex) < uvs_.size()) {
    uvs_[static_cast<size_t>(vertex)] = uv;
  }
}

void Mesh::SetIndices(std::span<const uint16_t> indices) {
  indices_.assign(indices.begin(), indices.begin() + std::min(indices.size(), index_count_));
}

void Mesh::Draw(const Transform& world, Colour colour, const Transform& texture) {
  DrawOf(owner_, DrawRecord::Kind::kMesh, id_, world, colour).texture = RecordedMatrix(texture);
}

void Mesh::ReleaseBuffers() {
  positions_.clear();
  uvs_.clear();
  indices_.clear();
  index_count_ = 0;
}

void Glyph::Draw(const Transform& world, Colour colour) {
  DrawOf(owner_, DrawRecord::Kind::kGlyph, id_, world, colour);
}

}  // namespace record

RecordingProvider::RecordingProvider() = default;
RecordingProvider::~RecordingProvider() = default;

std::unique_ptr<Transform> RecordingProvider::CreateTransform() {
  return std::make_unique<MatrixTransform>();
}

std::unique_ptr<SolidQuad> RecordingProvider::CreateSolidQuad() {
  return std::make_unique<record::Quad>(*this);
}

std::unique_ptr<Sprite> RecordingProvider::CreateSprite() {
  return std::make_unique<record::TexturedQuad>(*this);
}

std::unique_ptr<TextPrimitive> RecordingProvider::CreateTextPrimitive() {
  return std::make_unique<record::Text>(*this);
}

std::unique_ptr<MeshPrimitive> RecordingProvider::CreateMesh(int32_t vertex_count,
                                                             int32_t index_count) {
  return std::make_unique<record::Mesh>(*this, vertex_count, index_count);
}

std::unique_ptr<ImageResource> RecordingProvider::CreateImageResource(ResourceProvider& owner,
                                                                      const EncodedText& name) {
  return std::make_unique<RecordedImage>(owner, name, *this);
}

void RecordingProvider::BeginMask(const Transform& transform, Vec2 extent) {
  DrawRecord record;
  record.kind = DrawRecord::Kind::kBeginMask;
  record.world = RecordedMatrix(transform);
  record.extent = extent;
  records_.push_back(std::move(record));
}

void RecordingProvider::EndMask() {
  DrawRecord record;
  record.kind = DrawRecord::Kind::kEndMask;
  records_.push_back(std::move(record));
}

void RecordingProvider::BeginApply() {
  DrawRecord record;
  record.kind = DrawRecord::Kind::kApplyState;
  records_.push_back(std::move(record));
}

void RecordingProvider::SetRenderState(RenderState state, uint32_t value) {
  if (records_.empty() || records_.back().kind != DrawRecord::Kind::kApplyState) BeginApply();
  records_.back().states.emplace_back(state, value);
}

std::vector<DrawRecord> RecordingProvider::Draws() const {
  std::vector<DrawRecord> draws;
  for (const DrawRecord& record : records_) {
    if (record.IsDraw()) draws.push_back(record);
  }
  return draws;
}

ImageSize RecordingProvider::ImageSizeOf(const std::string& narrow_name) const {
  auto it = image_sizes_.find(narrow_name);
  return it == image_sizes_.end() ? ImageSize{} : it->second;
}

}  // namespace cva
