#pragma once

#include "scene/controller/controller_input.h"

namespace cva {

class Scene;

// Runs every node controller of `scene` once: nodes in pre-order, each controller evaluated
// against the scene's document; a node whose instance shows an embedded scene that has a
// current label then has the same pass run over that scene. Called by the frame step after the
// pointer hit pass and the pointer state update, before the scene advances.
void RunControllerPass(Scene& scene, const ControllerInput& input);

}  // namespace cva
