#pragma once

#include "render/vec2.h"

namespace cva {

class SceneObject;

// What a scene node shows of the scene object it places: one per placement, created by the
// object's CreateInstance and owned by the node. Operations are listed in their fixed order.
// An instance adds its object type's animated properties to the node's display node
// (DisplayNode::AddProperty) when it is created.
class Instance {
 public:
  virtual ~Instance() = default;
  // The scene object this instance shows.
  virtual SceneObject& Definition() const = 0;
  // The drawable extent used by pointer hit tests.
  virtual Vec2 Size() const = 0;
  // Returns to the state at placement.
  virtual void Reset() = 0;
  // Issues the draw calls with the display node's world matrix and colour.
  virtual void Draw() = 0;
  // Per-frame work once the node's transform is known.
  virtual void Update(float dt) = 0;
};

}  // namespace cva
