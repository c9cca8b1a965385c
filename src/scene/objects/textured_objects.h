#pragma once

// Scene object types drawn with sprites textured by an image resource: images, nine-part
// panels and particle emitters. Their image reference resolves once the image has loaded;
// until then the sprites draw untextured.

#include <array>
#include <memory>

#include "render/image_resource.h"
#include "render/primitives.h"
#include "scene/objects/image_reference.h"
#include "scene/objects/scene_object.h"

namespace cva {

// Type 2: an image drawn as one sprite.
class ImageObject final : public SceneObject {
 public:
  ObjectType TypeCode() const override { return ObjectType::kImage; }
  void Attach(int32_t id, Document& document) override;
  // An ImageInstance (none before the object is attached).
  std::unique_ptr<Instance> CreateInstance(SceneNode& node) override;
  bool Load(const ObjectRecord& record) override;

  const ImageRecord& record() const { return record_; }
  Vec2 size() const { return record_.size; }
  Sprite* sprite() const { return sprite_.get(); }
  const ImageReference& image() const { return image_; }
  // The image, resolved now if it was not yet (the sprite then receives it); null while the
  // image is not loaded.
  ImageResource* ResolveImage();
  // Drops the resolved image so that it is looked up again (after the document's resources
  // have finished loading).
  void InvalidateImage() { image_.Invalidate(); }

 private:
  ImageRecord record_;
  ImageReference image_;
  std::unique_ptr<Sprite> sprite_;
};

// Type 7: a nine-part panel of sprites.
class PanelObject final : public SceneObject {
 public:
  static constexpr int kPartCount = 9;

  ObjectType TypeCode() const override { return ObjectType::kPanel; }
  void Attach(int32_t id, Document& document) override;
  std::unique_ptr<Instance> CreateInstance(SceneNode& node) override;
  bool Load(const ObjectRecord& record) override;

  const PanelRecord& record() const { return record_; }
  // Set when the record names no image (-1): the parts draw in plain colour.
  bool untextured() const { return record_.image == -1; }
  Sprite* part(int i) const { return parts_[i].get(); }
  const ImageReference& image() const { return image_; }
  // As ImageObject::ResolveImage, for all nine parts. Untextured panels resolve nothing.
  ImageResource* ResolveImage();
  // The panel's size (the first vec2) and border widths (the second); the other two vec2 are
  // kept as stored.
  Vec2 size() const { return record_.vec_a; }
  Vec2 border() const { return record_.vec_b; }
  // Sizes the parts and points them at their regions of an image of `image` pixels (0 by 0:
  // untextured). Does nothing when they were configured for that size already.
  void ConfigureParts(ImageSize image);

 private:
  PanelRecord record_;
  ImageReference image_;
  std::array<std::unique_ptr<Sprite>, kPartCount> parts_;
  bool configured_ = false;
  ImageSize configured_for_;
};

// Type 11: randomised particles drawn with one sprite.
class ParticleObject final : public SceneObject {
 public:
  ObjectType TypeCode() const override { return ObjectType::kParticle; }
  void Attach(int32_t id, Document& document) override;
  std::unique_ptr<Instance> CreateInstance(SceneNode& node) override;
  bool Load(const ObjectRecord& record) override;

  const ParticleRecord& record() const { return record_; }
  const ParticleConfigRecord& config() const { return record_.config; }
  Sprite* sprite() const { return sprite_.get(); }
  const ImageReference& image() const { return image_; }
  ImageResource* ResolveImage();

 private:
  ParticleRecord record_;
  ImageReference image_;
  std::unique_ptr<Sprite> sprite_;
};

}  // namespace cva
