#pragma once

#include "scene/instance.h"

namespace cva {

class RectObject;
class SceneNode;

// A rectangle placed by a node: the object's solid quad drawn with the node's world matrix in
// the node's colour modulated by the rectangle's own colour. Adds no properties.
class RectInstance final : public Instance {
 public:
  RectInstance(RectObject& object, SceneNode& node) : object_(object), node_(node) {}

  SceneObject& Definition() const override;
  // The rectangle's size.
  Vec2 Size() const override;
  void Reset() override {}
  void Draw() override;
  void Update(float) override {}

 private:
  RectObject& object_;
  SceneNode& node_;
};

}  // namespace cva
