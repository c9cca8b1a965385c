#include "scene/objects/particle_instance.h"

#include "scene/objects/textured_objects.h"
#include "scene/property_record.h"
#include "scene/scene_node.h"

namespace cva {
namespace {}  // namespace

ParticleInstance::ParticleInstance(ParticleObject& object, SceneNode& node)
    : object_(object), node_(node) {
  node_.display().AddProperty(kParticleProperty);
}

SceneObject& ParticleInstance::Definition() const {
  return object_;
}

Vec2 ParticleInstance::Size() const {
  return object_.record().size;
}

void ParticleInstance::Update(float) {
  object_.ResolveImage();
}

void ParticleInstance::Draw() {
  Sprite* sprite = object_.sprite();
  if (!sprite) return;
  const DisplayNode& display = node_.display();
  sprite->DrawPlain(display.world(), display.colour.Modulated(object_.record().colour));
}

}  // namespace cva
