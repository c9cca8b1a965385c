#pragma once

#include "scene/instance.h"

namespace cva {

class ParticleObject;
class SceneNode;

// A particle emitter placed by a node. Adds property 25 (the particle settings) to the node.
// Particles are not simulated: the emitter shows its particle sprite once at the node, with
// the node's world matrix, in the node's colour modulated by the object's colour. The
// settings and the object's particle configuration are kept as stored.
class ParticleInstance final : public Instance {
 public:
  ParticleInstance(ParticleObject& object, SceneNode& node);

  SceneObject& Definition() const override;
  // The particle sprite's size.
  Vec2 Size() const override;
  void Reset() override {}
  void Draw() override;
  // Resolves the image once it has loaded.
  void Update(float dt) override;

 private:
  ParticleObject& object_;
  SceneNode& node_;
};

}  // namespace cva
