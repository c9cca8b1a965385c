#pragma once

#include <memory>
#include <vector>

#include "render/primitives.h"
#include "render/vec2.h"
#include "scene/instance.h"
#include "scene/object_property_records.h"

namespace cva {

class SceneNode;
class WarpImageObject;

// The vertex positions of a warped grid of `columns` x `rows` cells (both at least 1), row by
// row, vertex (i, j) at j x (columns + 1) + i. The corners are properties 21 (top left), 22 (top
// right), 23 (bottom right) and 24 (bottom left). Each row's ends follow Hermite curves down the
// left and right edges (with the corners' column tangents); each row is then a Hermite curve
// between its ends, with tangents blended linearly from the corners' row tangents. Tangents
// are scaled by 3, as on Hermite paths.
std::vector<Vec2> WarpGridVertices(const CornerValue& top_left, const CornerValue& top_right,
                                   const CornerValue& bottom_right, const CornerValue& bottom_left,
                                   int32_t columns, int32_t rows);

// An image drawn as a grid warped by four corner properties. Adds properties 9, 10 and 11 (as
// an image) and the corners 21 to 24 to the node; every draw moves the object's mesh vertices
// to the grid of the corners' current values.
class WarpImageInstance final : public Instance {
 public:
  WarpImageInstance(WarpImageObject& object, SceneNode& node);
  ~WarpImageInstance() override;

  SceneObject& Definition() const override;
  // The extent the corners span from the node's origin (their largest coordinates).
  Vec2 Size() const override;
  void Reset() override {}
  void Draw() override;
  // Resolves the image once it has loaded and takes the texture offset of property 11.
  void Update(float dt) override;

  // The grid of the corners' current values (empty when the object has no grid).
  std::vector<Vec2> Vertices() const;

 private:
  WarpImageObject& object_;
  SceneNode& node_;
  std::unique_ptr<Transform> texture_;
};

}  // namespace cva
