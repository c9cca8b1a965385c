#include "scene/objects/rect_instance.h"

#include "scene/objects/simple_objects.h"
#include "scene/scene_node.h"

namespace cva {

SceneObject& RectInstance::Definition() const {
  return object_;
}

Vec2 RectInstance::Size() const {
  return object_.record().size;
}

void RectInstance::Draw() {
  SolidQuad* quad = object_.quad();
  if (!quad) return;
  const DisplayNode& display = node_.display();
  quad->Draw(display.world(), display.colour.Modulated(object_.record().colour));
}

}  // namespace cva
