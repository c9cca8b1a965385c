#pragma once

#include <array>
#include <optional>

#include "render/vec2.h"
#include "scene/hit/affine.h"

namespace cva {

class SceneNode;

// The four corners of a node's extent on the stage.
using Outline = std::array<Vec2, 4>;

// The map from a node's local units to the stage used by hit tests: its world matrix, preceded,
// when the node repeats its texture (property 12), by a scale by the repeat counts and a shift
// by the extent along each mirrored (negative) count. None for a node without an instance.
std::optional<Affine2> HitMatrix(const SceneNode& node);

// The node's extent (its instance's size) with the corners (0, 0), (1, 0), (1, 1), (0, 1), in
// that order, mapped by the hit matrix. None for a node without an instance.
std::optional<Outline> NodeOutline(const SceneNode& node);

// Whether `point` maps, through the inverse of the hit matrix, into the node's extent, edges
// included. False for a node without an instance and for a hit matrix that cannot be inverted.
bool ContainsPoint(const SceneNode& node, Vec2 point);

// The pixel-exact test of an image node (object type 2): whether the texture pixel shown at
// `point` is opaque, following the node's texture offset (property 11) and mirrored repeats
// (property 12). False for other object types, for an image not loaded yet, for a zero extent
// and for a world matrix that cannot be inverted.
bool PixelHit(const SceneNode& node, Vec2 point);

}  // namespace cva
