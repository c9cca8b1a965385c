#include "scene/objects/textured_objects.h"

#include "document/resource_provider.h"
#include "scene/objects/image_instance.h"

namespace cva {

// ImageObject

bool ImageObject::Load(const ObjectRecord& record) {
  if (!LoadAs(record, record_)) return false;
  image_ = ImageReference(record_.image);
  return true;
}

void ImageObject::Attach(int32_t id, Document& document) {
  SceneObject::Attach(id, document);
  sprite_ = provider().CreateSprite();
  if (!sprite_) return;
  image_.Resolve(document_);
  // The image goes first: the sprite computes its texture coordinates when it is sized.
  sprite_->SetImage(image_.resolved());
  sprite_->SetSize(record_.size);
  sprite_->SetUvOffset(record_.texture_origin);
}

std::unique_ptr<Instance> ImageObject::CreateInstance(SceneNode& node) {
  if (!document_) return nullptr;
  return std::make_unique<ImageInstance>(*this, node);
}

ImageResource* ImageObject::ResolveImage() {
  if (image_.Resolve(document_) && sprite_) {
    sprite_->SetImage(image_.resolved());
    sprite_->SetSize(record_.size);
  }
  return image_.resolved();
}

// PanelObject

bool PanelObject::Load(const ObjectRecord& record) {
  if (!LoadAs(record, record_)) return false;
  image_ = ImageReference(record_.image);
  return true;
}

void PanelObject::Attach(int32_t id, Document& document) {
  SceneObject::Attach(id, document);
  for (auto& part : parts_) part.reset();
  for (auto& part : parts_) part = provider().CreateSprite();
  // The parts receive the image at their first use.
  image_.Invalidate();
}

ImageResource* PanelObject::ResolveImage() {
  if (untextured()) return nullptr;
  if (image_.Resolve(document_)) {
    for (auto& part : parts_)
      if (part) part->SetImage(image_.resolved());
  }
  return image_.resolved();
}

// ParticleObject

bool ParticleObject::Load(const ObjectRecord& record) {
  if (!LoadAs(record, record_)) return false;
  image_ = ImageReference(record_.image);
  return true;
}

void ParticleObject::Attach(int32_t id, Document& document) {
  SceneObject::Attach(id, document);
  sprite_ = provider().CreateSprite();
  if (!sprite_) return;
  image_.Resolve(document_);
  sprite_->SetImage(image_.resolved());
  sprite_->SetSize(record_.size);
  sprite_->SetUvOffset(record_.uv_offset);
}

ImageResource* ParticleObject::ResolveImage() {
  if (image_.Resolve(document_) && sprite_) {
    sprite_->SetImage(image_.resolved());
    sprite_->SetSize(record_.size);
  }
  return image_.resolved();
}

}  // namespace cva
