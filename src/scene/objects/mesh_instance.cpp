#include "scene/objects/mesh_instance.h"

#include <algorithm>
#include <cmath>

#include "document/document.h"
#include "document/resource_provider.h"
#include "scene/objects/mesh_object.h"
#include "scene/scene_node.h"

namespace cva {

MeshInstance::MeshInstance(MeshObject& object, SceneNode& node)
    : object_(object), node_(node), texture_(object.document()->provider().CreateTransform()) {
  for (const MeshObject::Vertex& vertex : object_.Vertices()) {
    if (std::isfinite(vertex.position.x)) size_.x = std::max(size_.x, vertex.position.x);
    if (std::isfinite(vertex.position.y)) size_.y = std::max(size_.y, vertex.position.y);
  }
}

MeshInstance::~MeshInstance() = default;

SceneObject& MeshInstance::Definition() const {
  return object_;
}

void MeshInstance::Update(float) {
  object_.ResolveTexture();
}

void MeshInstance::Draw() {
  MeshPrimitive* mesh = object_.mesh();
  if (!mesh) return;
  const DisplayNode& display = node_.display();
  mesh->Draw(display.world(), display.colour.Modulated(object_.record().colour), *texture_);
}

}  // namespace cva
