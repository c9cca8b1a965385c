#pragma once

#include "render/vec2.h"
#include "scene/controller/controller_input.h"

namespace cva {

class Scene;

// The two passes the frame step runs over the current scene before it advances: the pointer
// hit pass and the node controller pass. The player uses ScenePasses::Standard(); tests may
// substitute their own.
class ScenePasses {
 public:
  virtual ~ScenePasses() = default;
  // Gives every drawn node its hit state for the pointer at `point`.
  virtual void PointerPass(Scene& scene, Vec2 point) = 0;
  // Runs every node controller once with the pointer as `input` describes it.
  virtual void ControllerPass(Scene& scene, const ControllerInput& input) = 0;

  // The passes of the scene library (HitTest, RunControllerPass).
  static ScenePasses& Standard();
};

}  // namespace cva
