#pragma once

// A provider for building scene trees in tests: transforms remember whether they were set to
// identity; everything else draws nothing.

#include <memory>

#include "document/composed_provider.h"

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

class SceneTestProvider final : public ComposedProvider {
 public:
  SceneTestProvider() { SetGraphics(graphics_); }
  int transforms_created = 0;

 private:
  struct Graphics final : InertGraphics {
    explicit Graphics(int& created) : created(created) {}
    std::unique_ptr<Transform> CreateTransform() override {
      ++created;
      return std::make_unique<IdentityTrackingTransform>();
    }
    int& created;
  } graphics_{transforms_created};
};

inline bool IsIdentity(const Transform& transform) {
  return static_cast<const IdentityTrackingTransform&>(transform).identity;
}

}  // namespace cva::testing
