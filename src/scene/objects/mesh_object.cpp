#include "scene/objects/mesh_object.h"

#include <utility>

#include "document/resource_provider.h"
#include "scene/objects/mesh_instance.h"
#include "scene/objects/object_table.h"
#include "scene/objects/simple_objects.h"

namespace cva {

bool MeshObject::Load(const ObjectRecord& record) {
  if (!LoadAs(record, record_)) return false;
  texture_ = ImageReference(record_.texture);
  joint_tree_pending_ = true;
  root_joint_ = nullptr;
  return true;
}

std::unique_ptr<Instance> MeshObject::CreateInstance(SceneNode& node) {
  if (!document_) return nullptr;
  return std::make_unique<MeshInstance>(*this, node);
}

ImageResource* MeshObject::ResolveTexture() {
  if (texture_.Resolve(document_) && mesh_) mesh_->SetImage(texture_.resolved());
  return texture_.resolved();
}

void MeshObject::Attach(int32_t id, Document& document) {
  SceneObject::Attach(id, document);
  RebuildMesh();
}

std::vector<MeshObject::Vertex> MeshObject::Vertices() const {
  std::vector<Vertex> out;
  out.reserve(record_.vertices.size());
  const double u_scale = record_.width - 1.0;
  const double v_scale = record_.height - 1.0;
  for (const MeshVertexRecord& v : record_.vertices) {
    const auto x = static_cast<float>(v.x);
    const auto y = static_cast<float>(v.y);
    out.push_back({{x, y}, {static_cast<float>(v.x / u_scale), static_cast<float>(v.y / v_scale)}});
  }
  return out;
}

std::vector<uint16_t> MeshObject::UploadIndices() const {
  const size_t count = record_.index_count > 0 ? static_cast<size_t>(record_.index_count) : 0;
  const size_t vertex_count = record_.vertices.size();
  std::vector<uint16_t> out(count, 0);
  for (size_t i = 0; i < count && i < record_.indices.size(); ++i)
    out[i] = record_.indices[i] < vertex_count ? record_.indices[i] : 0;
  return out;
}

void MeshObject::RebuildMesh() {
  mesh_.reset();
  if (!document_) return;
  const auto vertex_count = static_cast<int32_t>(record_.vertices.size());
  const int32_t index_count = record_.index_count > 0 ? record_.index_count : 0;
  if (vertex_count == 0 || index_count == 0) return;
  mesh_ = provider().CreateMesh(vertex_count, index_count);
  if (!mesh_) return;
  texture_.Resolve(document_);
  mesh_->SetImage(texture_.resolved());
  const std::vector<Vertex> vertices = Vertices();
  mesh_->LockVertices();
  for (int32_t i = 0; i < vertex_count; ++i) {
    mesh_->SetPosition(i, vertices[i].position);
    mesh_->SetUv(i, vertices[i].uv);
  }
  mesh_->UnlockVertices();
  const std::vector<uint16_t> indices = UploadIndices();
  mesh_->SetIndices(indices);
}

void MeshObject::LinkJoints(ObjectTable& table) {
  if (!joint_tree_pending_) return;
  joint_tree_pending_ = false;
  // Depth first without recursion: each entry is a tree node and the joint its parent node
  // resolved to (null for the root). A node whose id names no joint, or a joint that some
  // mesh has linked already, is skipped with its subtree: linking a joint twice would put a
  // cycle into the tree or steal it from another mesh.
  std::vector<std::pair<const JointNodeRecord*, JointObject*>> pending{{&record_.joints, nullptr}};
  while (!pending.empty()) {
    auto [node, parent] = pending.back();
    pending.pop_back();
    auto* joint = dynamic_cast<JointObject*>(table.Find(node->object));
    if (!joint || joint->linked()) continue;
    joint->LinkTo(*this, parent);
    if (!parent) root_joint_ = joint;
    // Pushed in reverse so that children are linked in stored order.
    for (auto it = node->children.items.rbegin(); it != node->children.items.rend(); ++it)
      pending.push_back({&*it, joint});
  }
}

}  // namespace cva
