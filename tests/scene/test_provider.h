#pragma once

// A provider for building scene trees in tests: transforms remember whether they were set to
// identity, everything else is not needed by the scene tree and is not created.

#include <memory>

#include "converter/inert_primitives.h"
#include "document/resource_provider.h"
#include "render/image_resource.h"
#include "sound/sound_resource.h"

namespace cva::testing {

class IdentityTrackingTransform final : public Transform {
 public:
  bool identity = false;  // SetIdentity was the last change

  void SetScale(Vec2) override { identity = false; }
  void SetScale(float, float) override { identity = false; }
  void SetTranslation(Vec2) override { identity = false; }
  void SetTranslation(float, float) override { identity = false; }
  void SetRotation(float) override { identity = false; }
  void SetTexOffset(Vec2) override { identity = false; }
  void SetTexOffset(float, float) override { identity = false; }
  void PreMultiply(const Transform&) override { identity = false; }
  void PostMultiply(const Transform&) override { identity = false; }
  Vec2 TransformPoint(Vec2 point) const override { return point; }
  void CopyFrom(const Transform&) override { identity = false; }
  void Invert() override {}
  void SetIdentity() override { identity = true; }
};

class SceneTestProvider final : public ResourceProvider {
 public:
  int transforms_created = 0;

  std::unique_ptr<Transform> CreateTransform() override {
    ++transforms_created;
    return std::make_unique<IdentityTrackingTransform>();
  }
  std::unique_ptr<OpenDataRequest> OpenData(const EncodedText&) override { return nullptr; }
  std::unique_ptr<SolidQuad> CreateSolidQuad() override {
    return std::make_unique<InertSolidQuad>();
  }
  std::unique_ptr<Sprite> CreateSprite() override { return std::make_unique<InertSprite>(); }
  std::unique_ptr<SoundStream> CreateSoundStream(SoundResource&) override {
    return std::make_unique<InertSoundStream>();
  }
  std::unique_ptr<TextPrimitive> CreateTextPrimitive() override {
    return std::make_unique<InertTextPrimitive>();
  }
  std::unique_ptr<MeshPrimitive> CreateMesh(int32_t, int32_t) override {
    return std::make_unique<InertMesh>();
  }
  std::unique_ptr<ImageResource> CreateImageResource(const EncodedText&) override {
    return nullptr;
  }
  std::unique_ptr<SoundResource> CreateSoundResource(const EncodedText&) override {
    return nullptr;
  }
  void BeginMask(const Transform&, Vec2) override {}
  void EndMask() override {}
  void DebugPrint(const EncodedText&) override {}
};

inline bool IsIdentity(const Transform& transform) {
  return static_cast<const IdentityTrackingTransform&>(transform).identity;
}

}  // namespace cva::testing
