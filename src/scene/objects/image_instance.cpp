#include "scene/objects/image_instance.h"

#include <cstdlib>

#include "document/document.h"
#include "document/resource_provider.h"
#include "render/image_resource.h"
#include "scene/cell_budget.h"
#include "scene/objects/textured_objects.h"
#include "scene/property_record.h"
#include "scene/property_value.h"
#include "scene/scene_node.h"

namespace cva {
namespace {}  // namespace

ImageInstance::ImageInstance(ImageObject& object, SceneNode& node) : object_(object), node_(node) {
  ResourceProvider& provider = object.document()->provider();
  texture_ = provider.CreateTransform();
  cell_world_ = provider.CreateTransform();
  cell_texture_ = provider.CreateTransform();
  step_ = provider.CreateTransform();
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
  shown_ = nullptr;
  TakeTextureOffset();
}

void ImageInstance::Update(float) {
  const DisplayNode& display = node_.display();
  const PropertyTrack* swap = display.track(kImageSwapProperty);
  if (swap && swap->passed_key()) {
    if (const auto* value = FieldsOf<kImageSwapProperty>(display.holder(kImageSwapProperty)))
      shown_ = SwapTarget(value->value);
  }
  Shown().ResolveImage();
  TakeTextureOffset();
}

ImageObject* ImageInstance::SwapTarget(int32_t id) const {
  if (id == -1 || !object_.document()) return nullptr;
  SceneObject* target = object_.document()->objects().Find(id);
  if (!target || target->TypeCode() != ObjectType::kImage || !target->document()) return nullptr;
  return static_cast<ImageObject*>(target);
}

void ImageInstance::Draw() {
  DrawCells(Shown());
}

Vec2 ImageInstance::TextureExtent() const {
  const ImageObject& shown = Shown();
  const ImageResource* image = shown.image().resolved();
  if (!image) return {};
  const ImageSize size = image->Size();
  if (size.width <= 0 || size.height <= 0) return {};
  return {shown.size().x / static_cast<float>(size.width),
          shown.size().y / static_cast<float>(size.height)};
}

void ImageInstance::DrawCells(ImageObject& shown) {
  Sprite* sprite = shown.sprite();
  if (!sprite) return;
  const DisplayNode& display = node_.display();
  const Colour colour = display.colour.Modulated(shown.record().colour);
  const auto* repeat = FieldsOf<kTexRepeatProperty>(display.holder(kTexRepeatProperty));
  const int32_t cx = repeat ? repeat->count_x : 1;
  const int32_t cy = repeat ? repeat->count_y : 1;
  if (cx == 1 && cy == 1) {
    sprite->Draw(display.world(), colour, *texture_);
    return;
  }
  const int32_t columns = std::abs(cx);
  const int32_t rows = std::abs(cy);
  const bool mirror_x = repeat->mirror_x.on();
  const bool mirror_y = repeat->mirror_y.on();
  // A negative count lays the cells out towards negative x (or y).
  const float step_x = cx < 0 ? -shown.size().x : shown.size().x;
  const float step_y = cy < 0 ? -shown.size().y : shown.size().y;
  const Vec2 extent = TextureExtent();
  for (int32_t j = 0; j < rows; ++j) {
    for (int32_t i = 0; i < columns; ++i) {
      if (!CellBudget::Take()) return;
      cell_world_->SetTranslation(static_cast<float>(i) * step_x, static_cast<float>(j) * step_y);
      cell_world_->PostMultiply(display.world());
      const bool flip_x = mirror_x && i % 2 != 0;
      const bool flip_y = mirror_y && j % 2 != 0;
      cell_texture_->CopyFrom(*texture_);
      if (flip_x || flip_y) {
        // Texture coordinates are turned about 0 and shifted back by the image's extent: with
        // no texture offset the cell shows the image reversed.
        step_->SetScale(flip_x ? -1.0f : 1.0f, flip_y ? -1.0f : 1.0f);
        cell_texture_->PostMultiply(*step_);
        step_->SetTexOffset(flip_x ? extent.x : 0.0f, flip_y ? extent.y : 0.0f);
        cell_texture_->PostMultiply(*step_);
      }
      sprite->Draw(*cell_world_, colour, *cell_texture_);
    }
  }
}

void ImageInstance::TakeTextureOffset() {
  Vec2 offset;
  if (const auto* tex = FieldsOf<kTexOffsetProperty>(node_.display().holder(kTexOffsetProperty)))
    offset = tex->offset;
  texture_->SetTexOffset(offset);
}

}  // namespace cva
