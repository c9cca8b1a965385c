#include "scene/objects/object_factory.h"

#include "scene/objects/mesh_object.h"
#include "scene/objects/simple_objects.h"
#include "scene/objects/textured_objects.h"
#include "scene/objects/warp_image_object.h"

namespace cva {

std::unique_ptr<SceneObject> CreateSceneObject(uint8_t type) {
  switch (static_cast<ObjectType>(type)) {
    case ObjectType::kRect:
      return std::make_unique<RectObject>();
    case ObjectType::kImage:
      return std::make_unique<ImageObject>();
    case ObjectType::kEmbeddedScene:
      return std::make_unique<EmbeddedSceneObject>();
    case ObjectType::kSound:
      return std::make_unique<SoundObject>();
    case ObjectType::kText:
      return std::make_unique<TextObject>();
    case ObjectType::kNumber:
      return std::make_unique<NumberObject>();
    case ObjectType::kPanel:
      return std::make_unique<PanelObject>();
    case ObjectType::kMesh:
      return std::make_unique<MeshObject>();
    case ObjectType::kJoint:
      return std::make_unique<JointObject>();
    case ObjectType::kWarpImage:
      return std::make_unique<WarpImageObject>();
    case ObjectType::kParticle:
      return std::make_unique<ParticleObject>();
  }
  return nullptr;
}

std::unique_ptr<SceneObject> CreateSceneObject(const ObjectEntry& entry) {
  std::unique_ptr<SceneObject> object = CreateSceneObject(entry.type);
  if (!object || !object->Load(entry.record)) return nullptr;
  return object;
}

}  // namespace cva
