#include "scene/objects/image_instance.h"

#include "document/document.h"
#include "document/resource_provider.h"
#include "scene/objects/textured_objects.h"
#include "scene/property_value.h"
#include "scene/scene_node.h"

namespace cva {
namespace {

constexpr int kImageSwapProperty = 9;
constexpr int kHitCodesProperty = 10;
constexpr int kTexOffsetProperty = 11;
constexpr int kTexRepeatProperty = 12;

}  // namespace

ImageInstance::ImageInstance(ImageObject& object, SceneNode& node)
    : object_(object), node_(node), texture_(object.document()->provider().CreateTransform()) {
  DisplayNode& display = node_.display();
  for (int index : {kImageSwapProperty, kHitCodesProperty, kTexOffsetProperty, kTexRepeatProperty})
    display.AddProperty(index);
  TakeTextureOffset();
}

ImageInstance::~ImageInstance() = default;

SceneObject& ImageInstance::Definition() const {
  return object_;
}

Vec2 ImageInstance::Size() const {
  return Shown().size();
}

void ImageInstance::Reset() {
  TakeTextureOffset();
}

void ImageInstance::Update(float) {
  Shown().ResolveImage();
  TakeTextureOffset();
}

void ImageInstance::Draw() {
  DrawCells(Shown());
}

void ImageInstance::DrawCells(ImageObject& shown) {
  Sprite* sprite = shown.sprite();
  if (!sprite) return;
  const DisplayNode& display = node_.display();
  sprite->Draw(display.world(), display.colour.Modulated(shown.record().colour), *texture_);
}

void ImageInstance::TakeTextureOffset() {
  Vec2 offset;
  if (const auto* tex = FieldsOf<kTexOffsetProperty>(node_.display().holder(kTexOffsetProperty)))
    offset = tex->offset;
  texture_->SetTexOffset(offset);
}

}  // namespace cva
