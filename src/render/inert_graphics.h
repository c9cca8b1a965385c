#pragma once

#include <memory>

#include "render/graphics_backend.h"
#include "render/inert_image.h"
#include "render/inert_primitives.h"
#include "render/matrix_transform.h"

namespace cva {

// A graphics backend that draws nothing: for loading documents where nothing is shown (the
// converter) and as the base of test backends, which override only what they record.
// Transforms are real MatrixTransforms, since the scene computes with them (hit tests).
class InertGraphics : public GraphicsBackend {
 public:
  std::unique_ptr<Transform> CreateTransform() override {
    return std::make_unique<MatrixTransform>();
  }
  std::unique_ptr<SolidQuad> CreateSolidQuad() override {
    return std::make_unique<InertSolidQuad>();
  }
  std::unique_ptr<Sprite> CreateSprite() override { return std::make_unique<InertSprite>(); }
  std::unique_ptr<TextPrimitive> CreateTextPrimitive() override {
    return std::make_unique<InertTextPrimitive>();
  }
  std::unique_ptr<MeshPrimitive> CreateMesh(int32_t, int32_t) override {
    return std::make_unique<InertMesh>();
  }
  std::unique_ptr<ImageResource> CreateImageResource(ResourceProvider& owner,
                                                     const EncodedText& name) override {
    return std::make_unique<InertImage>(owner, name);
  }
  void BeginMask(const Transform&, Vec2) override {}
  void EndMask() override {}
};

}  // namespace cva
