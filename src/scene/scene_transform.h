#pragma once

#include "render/matrix.h"
#include "render/vec2.h"

namespace cva {

class DisplayNode;
class SceneNode;
class Transform;

// The values a node's own transform is built from.
struct PlacementValues {
  Vec2 position;
  float angle = 0.0f;
  Vec2 scale{1.0f, 1.0f};
  Vec2 pivot;
};

// Writes into `out` the transform that moves points by -pivot, scales them, rotates them
// about the z axis, moves them by +pivot and then by the position. `scratch` is overwritten.
void BuildPlacement(const PlacementValues& values, Transform& out, Transform& scratch);

// Writes the same transform into a portable matrix, with the same bits as the products of
// BuildPlacement (it leaves out only terms that cannot change them).
void WritePlacementMatrix(const PlacementValues& values, Matrix4& out);

// Rebuilds the node's local matrix from properties 2 to 5. An angle whose direction mode is
// 3 is replaced by the direction of travel since `previous_position` (angle 0 when the node
// did not move).
void BuildLocalMatrix(DisplayNode& display, Transform& scratch);

// The root's world: local combined with the player's base transform.
void CombineRoot(DisplayNode& display, const Transform& base);

// A child's world, colour, depth and visibility from its parent's, following the inherit
// flags of its own tracks. `scratch` is overwritten.
void CombineWithParent(SceneNode& node, Transform& scratch);

}  // namespace cva
