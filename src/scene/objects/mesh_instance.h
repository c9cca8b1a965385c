#pragma once

#include <memory>

#include "render/primitives.h"
#include "scene/instance.h"

namespace cva {

class MeshObject;
class SceneNode;

// A textured mesh placed by a node, drawn as built from its record with the node's world
// matrix in the node's colour modulated by the mesh's colour. The mesh's joints do not move
// it. Adds no properties.
class MeshInstance final : public Instance {
 public:
  MeshInstance(MeshObject& object, SceneNode& node);
  ~MeshInstance() override;

  SceneObject& Definition() const override;
  // The extent of the mesh's vertices from the node's origin (their largest coordinates).
  Vec2 Size() const override { return size_; }
  void Reset() override {}
  void Draw() override;
  // Hands the texture to the mesh once it has loaded.
  void Update(float dt) override;

 private:
  MeshObject& object_;
  SceneNode& node_;
  Vec2 size_;
  std::unique_ptr<Transform> texture_;  // identity
};

}  // namespace cva
