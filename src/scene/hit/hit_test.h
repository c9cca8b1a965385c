#pragma once

#include "render/vec2.h"

namespace cva {

class Scene;

// Node hit states, kept by every scene node.
inline constexpr int kNotHit = 0;
inline constexpr int kHitTopmost = 1;  // under the pointer and the first node found there
inline constexpr int kHitCovered = 2;  // under the pointer below a node hit before it

// The pointer pass: walks the scene's draw list from the topmost node down and gives every node
// in it a hit state. A node counts as under the pointer when the point lies in its extent (and,
// when its property 10 asks for pixel-exact hits, over an opaque pixel of its image); nodes of
// embedded scenes are tested in place of the node that shows them. Nodes without an instance
// get state 0; nodes outside the draw list keep the state they had.
// `free` tells whether no node above has been hit yet; returns it updated. The frame step calls
// it with the pointer position of the previous frame and free = true, before the controllers
// run.
bool HitTest(Scene& scene, Vec2 point, bool free);

}  // namespace cva
