#include "scene/objects/textured_objects.h"

#include "document/resource_provider.h"
#include "scene/objects/image_instance.h"
#include "scene/objects/panel_instance.h"
#include "scene/objects/panel_layout.h"
#include "scene/objects/particle_instance.h"

namespace cva {
namespace {

// The one sprite of an image or particle object: the image goes first, because the sprite
// computes its texture coordinates when it is sized.
template <class Document>
void SetUpSprite(Sprite& sprite, ImageReference& image, Document* document, Vec2 size,
                 Vec2 uv_offset) {
  image.Resolve(document);
  sprite.SetImage(image.resolved());
  sprite.SetSize(size);
  sprite.SetUvOffset(uv_offset);
}

// Resolves the image again (it may have finished loading since) and hands it to the sprite.
template <class Document>
ImageResource* ResolveSpriteImage(ImageReference& image, Document* document, Sprite* sprite,
                                  Vec2 size) {
  if (image.Resolve(document) && sprite) {
    sprite->SetImage(image.resolved());
    sprite->SetSize(size);
  }
  return image.resolved();
}

}  // namespace

// ImageObject

bool ImageObject::Load(const ObjectRecord& record) {
  if (!LoadAs(record, record_)) return false;
  image_ = ImageReference(record_.image);
  return true;
}

void ImageObject::Attach(int32_t id, Document& document) {
  SceneObject::Attach(id, document);
  sprite_ = provider().CreateSprite();
  if (sprite_) SetUpSprite(*sprite_, image_, document_, record_.size, record_.texture_origin);
}

std::unique_ptr<Instance> ImageObject::CreateInstance(SceneNode& node) {
  if (!document_) return nullptr;
  return std::make_unique<ImageInstance>(*this, node);
}

ImageResource* ImageObject::ResolveImage() {
  return ResolveSpriteImage(image_, document_, sprite_.get(), record_.size);
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
  configured_ = false;
}

std::unique_ptr<Instance> PanelObject::CreateInstance(SceneNode& node) {
  if (!document_) return nullptr;
  return std::make_unique<PanelInstance>(*this, node);
}

void PanelObject::ConfigureParts(ImageSize image) {
  if (configured_ && configured_for_ == image) return;
  configured_ = true;
  configured_for_ = image;
  const std::array<PanelPart, kPartCount> layout = PanelLayout(size(), border(), image);
  for (int i = 0; i < kPartCount; ++i) {
    Sprite* sprite = parts_[static_cast<size_t>(i)].get();
    if (!sprite) continue;
    const PanelPart& part = layout[static_cast<size_t>(i)];
    sprite->SetSize(part.source_size);
    Vec2 uv;
    if (image.width > 0 && image.height > 0)
      uv = {part.source_origin.x / static_cast<float>(image.width),
            part.source_origin.y / static_cast<float>(image.height)};
    sprite->SetUvOffset(uv);
  }
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
  if (sprite_) SetUpSprite(*sprite_, image_, document_, record_.size, record_.uv_offset);
}

std::unique_ptr<Instance> ParticleObject::CreateInstance(SceneNode& node) {
  if (!document_) return nullptr;
  return std::make_unique<ParticleInstance>(*this, node);
}

ImageResource* ParticleObject::ResolveImage() {
  return ResolveSpriteImage(image_, document_, sprite_.get(), record_.size);
}

}  // namespace cva
