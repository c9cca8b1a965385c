#include "scene/objects/warp_image_object.h"

#include <algorithm>

#include "document/resource_provider.h"
#include "scene/objects/warp_image_instance.h"

namespace cva {

bool WarpImageObject::Load(const ObjectRecord& record) {
  if (!LoadAs(record, record_)) return false;
  image_ = ImageReference(record_.image);
  return true;
}

int32_t WarpImageObject::columns() const {
  return record_.columns <= 0 ? 0 : std::min(record_.columns, kMaxCells);
}

int32_t WarpImageObject::rows() const {
  return record_.rows <= 0 ? 0 : std::min(record_.rows, kMaxCells);
}

std::vector<uint16_t> WarpImageObject::GridIndices() const {
  std::vector<uint16_t> out;
  if (!has_grid()) return out;
  const int32_t nc = columns();
  const int32_t nr = rows();
  out.reserve(static_cast<size_t>(IndexCount()));
  for (int32_t j = 0; j < nr; ++j) {
    for (int32_t i = 0; i < nc; ++i) {
      const auto top_left = static_cast<uint16_t>(j * (nc + 1) + i);
      const auto top_right = static_cast<uint16_t>(top_left + 1);
      const auto bottom_left = static_cast<uint16_t>(top_left + nc + 1);
      const auto bottom_right = static_cast<uint16_t>(bottom_left + 1);
      out.insert(out.end(),
                 {top_left, top_right, bottom_left, top_right, bottom_right, bottom_left});
    }
  }
  return out;
}

std::unique_ptr<Instance> WarpImageObject::CreateInstance(SceneNode& node) {
  if (!document_) return nullptr;
  return std::make_unique<WarpImageInstance>(*this, node);
}

ImageResource* WarpImageObject::ResolveImage() {
  if (image_.Resolve(document_) && mesh_) mesh_->SetImage(image_.resolved());
  return image_.resolved();
}

void WarpImageObject::Attach(int32_t id, Document& document) {
  SceneObject::Attach(id, document);
  mesh_.reset();
  if (!has_grid()) return;
  mesh_ = provider().CreateMesh(VertexCount(), IndexCount());
  if (!mesh_) return;
  image_.Resolve(document_);
  mesh_->SetImage(image_.resolved());
  // Texture coordinates span the image once over the grid; positions follow every frame.
  const int32_t nc = columns();
  const int32_t nr = rows();
  mesh_->LockVertices();
  for (int32_t j = 0; j <= nr; ++j) {
    for (int32_t i = 0; i <= nc; ++i) {
      mesh_->SetUv(j * (nc + 1) + i, {static_cast<float>(i) / static_cast<float>(nc),
                                      static_cast<float>(j) / static_cast<float>(nr)});
    }
  }
  mesh_->UnlockVertices();
  const std::vector<uint16_t> indices = GridIndices();
  mesh_->SetIndices(indices);
}

}  // namespace cva
