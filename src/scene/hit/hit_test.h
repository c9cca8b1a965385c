#pragma once

#include "render/vec2.h"

namespace cva {

class Scene;
class SceneNode;

// Node hit states, kept by every scene node.
inline constexpr int kNotHit = 0;
inline constexpr int kHitTopmost = 1;  // under the pointer and the first node found there
inline constexpr int kHitCovered = 2;  // under the pointer below a node hit before it

// The pointer pass: walks the scene's draw list from the topmost node down and gives every node
// in it a hit state; nodes of embedded scenes are tested in place of the node that shows them.
// `free` tells whether no node above has been hit yet; returns it updated. The frame step calls
// it with the pointer position of the previous frame and free = true, before the controllers
// run.
bool HitTest(Scene& scene, Vec2 point, bool free);

// The same over the draw list from `first` to `last` (linked through SceneNode::draw_prev).
bool HitTestDrawList(SceneNode* first, SceneNode* last, Vec2 point, bool free);

}  // namespace cva
