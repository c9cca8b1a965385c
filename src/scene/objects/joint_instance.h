#pragma once

#include "scene/instance.h"

namespace cva {

class JointObject;

// A joint placed by a node: draws nothing and reports the joint's size as its extent, so that
// pointer hit tests can find it. Adds no properties.
class JointInstance final : public Instance {
 public:
  explicit JointInstance(JointObject& object) : object_(object) {}

  SceneObject& Definition() const override;
  Vec2 Size() const override;
  void Reset() override {}
  void Draw() override {}
  void Update(float) override {}

 private:
  JointObject& object_;
};

}  // namespace cva
