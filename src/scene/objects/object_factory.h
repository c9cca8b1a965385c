#pragma once

#include <cstdint>
#include <memory>

#include "scene/objects/scene_object.h"

namespace cva {

// A new definition of the type `type` with its defaults, or null for a code that names no
// type (0 and above 11).
std::unique_ptr<SceneObject> CreateSceneObject(uint8_t type);

// A definition built from a stored entry: created for the entry's type code and loaded from
// its record. Null when the code names no type or the record does not belong to it.
std::unique_ptr<SceneObject> CreateSceneObject(const ObjectEntry& entry);

}  // namespace cva
