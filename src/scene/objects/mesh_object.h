#pragma once

#include <memory>
#include <vector>

#include "render/primitives.h"
#include "scene/objects/image_reference.h"
#include "scene/objects/scene_object.h"

namespace cva {

class JointObject;
class ObjectTable;

// Type 8: a textured vertex/index mesh with a tree of joint objects.
class MeshObject final : public SceneObject {
 public:
  // One vertex as the mesh uses it: its position and texture coordinates.
  struct Vertex {
    Vec2 position;
    Vec2 uv;  // x / (width - 1), y / (height - 1): infinite or NaN when the divisor is 0
  };

  ObjectType TypeCode() const override { return ObjectType::kMesh; }
  void Attach(int32_t id, Document& document) override;
  // A MeshInstance (none before the object is attached).
  std::unique_ptr<Instance> CreateInstance(SceneNode& node) override;
  bool Load(const ObjectRecord& record) override;

  const MeshRecord& record() const { return record_; }
  MeshPrimitive* mesh() const { return mesh_.get(); }
  const ImageReference& texture() const { return texture_; }
  // The texture, resolved now if it was not yet (the mesh then receives it); null while the
  // image is not loaded.
  ImageResource* ResolveTexture();

  // The vertices computed from the record.
  std::vector<Vertex> Vertices() const;
  // The indices uploaded to the primitive: exactly the stored index count, the stored indices
  // first, then zeros for those the record does not carry (when its index flag is set). An
  // index naming no vertex becomes 0, so no draw reads outside the vertex buffer.
  std::vector<uint16_t> UploadIndices() const;

  // First link step, after the objects section: resolves the joint tree against `table`
  // (see ObjectTable). Does nothing once the tree has been linked.
  void LinkJoints(ObjectTable& table);
  bool joint_tree_pending() const { return joint_tree_pending_; }
  JointObject* root_joint() const { return root_joint_; }

  // Second link step, after the scene tree: builds the mesh primitive anew.
  void RebuildMesh();

 private:
  MeshRecord record_;
  ImageReference texture_;
  std::unique_ptr<MeshPrimitive> mesh_;
  bool joint_tree_pending_ = false;
  JointObject* root_joint_ = nullptr;
};

}  // namespace cva
