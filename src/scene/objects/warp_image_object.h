#pragma once

#include <memory>
#include <vector>

#include "render/primitives.h"
#include "scene/objects/image_reference.h"
#include "scene/objects/scene_object.h"

namespace cva {

// Type 10: an image drawn as a grid of columns x rows cells whose vertices the instance
// moves every frame (warped by four corner properties).
class WarpImageObject final : public SceneObject {
 public:
  // The largest column and row count used. With 255 of each the grid has 256 x 256 vertices,
  // the most a mesh with 16-bit indices can address.
  static constexpr int32_t kMaxCells = 255;

  ObjectType TypeCode() const override { return ObjectType::kWarpImage; }
  void Attach(int32_t id, Document& document) override;
  std::unique_ptr<Instance> CreateInstance(SceneNode& node) override;
  bool Load(const ObjectRecord& record) override;

  const WarpImageRecord& record() const { return record_; }
  MeshPrimitive* mesh() const { return mesh_.get(); }
  const ImageReference& image() const { return image_; }
  // The image, resolved now if it was not yet (the mesh then receives it); null while the
  // image is not loaded.
  ImageResource* ResolveImage();

  // Columns and rows as drawn: the stored counts, lowered to kMaxCells. A grid with no
  // column or no row (a count of 0 or less) has no mesh and draws nothing.
  int32_t columns() const;
  int32_t rows() const;
  bool has_grid() const { return columns() > 0 && rows() > 0; }
  int32_t VertexCount() const { return (columns() + 1) * (rows() + 1); }
  int32_t IndexCount() const { return columns() * rows() * 6; }
  // Two triangles per cell, cells row by row; vertex (i, j) is j x (columns + 1) + i.
  std::vector<uint16_t> GridIndices() const;

 private:
  WarpImageRecord record_;
  ImageReference image_;
  std::unique_ptr<MeshPrimitive> mesh_;
};

}  // namespace cva
