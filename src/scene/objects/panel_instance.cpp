#include "scene/objects/panel_instance.h"

#include "document/document.h"
#include "document/resource_provider.h"
#include "render/image_resource.h"
#include "scene/objects/panel_layout.h"
#include "scene/objects/textured_objects.h"
#include "scene/scene_node.h"

namespace cva {
namespace {

ImageSize SizeOf(const ImageResource* image) {
  return image ? image->Size() : ImageSize{};
}

}  // namespace

PanelInstance::PanelInstance(PanelObject& object, SceneNode& node)
    : object_(object),
      node_(node),
      part_world_(object.document()->provider().CreateTransform()),
      step_(object.document()->provider().CreateTransform()) {}

PanelInstance::~PanelInstance() = default;

SceneObject& PanelInstance::Definition() const {
  return object_;
}

Vec2 PanelInstance::Size() const {
  return object_.size();
}

void PanelInstance::Update(float) {
  object_.ConfigureParts(SizeOf(object_.ResolveImage()));
}

void PanelInstance::Draw() {
  const ImageSize image = SizeOf(object_.image().resolved());
  object_.ConfigureParts(image);
  const auto layout = PanelLayout(object_.size(), object_.border(), image);
  const DisplayNode& display = node_.display();
  const Colour colour = display.colour.Modulated(object_.record().colour);
  for (int i = 0; i < PanelObject::kPartCount; ++i) {
    Sprite* sprite = object_.part(i);
    const PanelPart& part = layout[static_cast<size_t>(i)];
    // A part with no area in the panel or in the image shows nothing.
    if (!sprite || !(part.size.x > 0.0f) || !(part.size.y > 0.0f) || !(part.source_size.x > 0.0f) ||
        !(part.source_size.y > 0.0f))
      continue;
    // The sprite spans its image region; it is stretched to its place, then moved there.
    part_world_->SetScale(part.size.x / part.source_size.x, part.size.y / part.source_size.y);
    step_->SetTranslation(part.origin);
    part_world_->PostMultiply(*step_);
    part_world_->PostMultiply(display.world());
    sprite->DrawPlain(*part_world_, colour);
  }
}

}  // namespace cva
