#include "scene/objects/joint_instance.h"

#include "scene/objects/simple_objects.h"

namespace cva {

SceneObject& JointInstance::Definition() const {
  return object_;
}

Vec2 JointInstance::Size() const {
  return object_.size();
}

}  // namespace cva
