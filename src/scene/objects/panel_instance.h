#pragma once

#include <memory>

#include "render/primitives.h"
#include "scene/instance.h"

namespace cva {

class PanelObject;
class SceneNode;

// A nine-part panel placed by a node: the panel's image cut into corners, edges and centre
// (PanelLayout), each part stretched over its place in the panel's size and drawn with the
// node's world matrix in the node's colour modulated by the panel's colour. Adds no
// properties.
class PanelInstance final : public Instance {
 public:
  PanelInstance(PanelObject& object, SceneNode& node);
  ~PanelInstance() override;

  SceneObject& Definition() const override;
  // The panel's size.
  Vec2 Size() const override;
  void Reset() override {}
  void Draw() override;
  // Resolves the image once it has loaded and fits the parts to it.
  void Update(float dt) override;

 private:
  PanelObject& object_;
  SceneNode& node_;
  std::unique_ptr<Transform> part_world_;
  std::unique_ptr<Transform> step_;
};

}  // namespace cva
