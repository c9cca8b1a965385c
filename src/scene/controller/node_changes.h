#pragma once

namespace cva {

class ResourceProvider;
class SceneNode;

// Marks `node` and every node below it as changed this frame.
void MarkSubtreeChanged(SceneNode& node);

// After a controller wrote one of the node's properties: rebuilds the node's local matrix from
// its placement values (so a new position, angle, scale or pivot takes effect even when no
// track moves the node), then marks it and its subtree as changed. Children combine with the
// new matrix when the scene next updates them. `provider` gives the scratch transform.
void MarkPlacementChanged(SceneNode& node, ResourceProvider& provider);

}  // namespace cva
