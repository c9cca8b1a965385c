#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "render/draw_state.h"
#include "render/graphics_backend.h"
#include "render/image_resource.h"
#include "render/record/draw_record.h"

namespace cva {

// A graphics backend that draws nothing but records every draw: the primitive kind, its world
// matrix, colour and texture transform, every DrawState Apply with its render states (it is
// also the render-state target of a DrawState), and every BeginMask and EndMask. Used by tests
// and trace tools to see what a scene draws without a graphics device. Transforms are
// MatrixTransform; images load without decoding anything.
class RecordingProvider : public GraphicsBackend, public RenderStateTarget {
 public:
  RecordingProvider();
  ~RecordingProvider() override;

  std::unique_ptr<Transform> CreateTransform() override;
  std::unique_ptr<SolidQuad> CreateSolidQuad() override;
  std::unique_ptr<Sprite> CreateSprite() override;
  std::unique_ptr<TextPrimitive> CreateTextPrimitive() override;
  std::unique_ptr<MeshPrimitive> CreateMesh(int32_t vertex_count, int32_t index_count) override;
  std::unique_ptr<ImageResource> CreateImageResource(ResourceProvider& owner,
                                                     const EncodedText& name) override;
  void BeginMask(const Transform& transform, Vec2 extent) override;
  void EndMask() override;

  void BeginApply() override;
  void SetRenderState(RenderState state, uint32_t value) override;

  // Everything recorded since construction or the last Clear, in call order.
  const std::vector<DrawRecord>& records() const { return records_; }
  // Only the primitive draws, in call order.
  std::vector<DrawRecord> Draws() const;
  void Clear() { records_.clear(); }
  // The pixel size images report once loaded, by their narrow name (0 by 0 when not set).
  void SetImageSize(const std::string& narrow_name, ImageSize size) {
    image_sizes_[narrow_name] = size;
  }
  ImageSize ImageSizeOf(const std::string& narrow_name) const;

  // How many primitives were created so far; the next one gets this serial number.
  int32_t primitives_created() const { return next_primitive_; }

  // Called by the recorded primitives.
  int32_t NextPrimitiveId() { return next_primitive_++; }
  void Record(DrawRecord record) { records_.push_back(std::move(record)); }
  // A new draw record at the end, for the caller to complete in place.
  DrawRecord& NewRecord(DrawRecord::Kind kind, int32_t primitive, const Matrix4& world,
                        Colour colour) {
    return records_.emplace_back(kind, primitive, world, colour);
  }

 private:
  std::vector<DrawRecord> records_;
  std::map<std::string, ImageSize> image_sizes_;
  int32_t next_primitive_ = 0;
};

// The matrix of a transform made by a RecordingProvider (identity for any other kind).
Matrix4 RecordedMatrix(const Transform& transform);

}  // namespace cva
