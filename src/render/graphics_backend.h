#pragma once

// The drawing half of a ResourceProvider: transforms, primitives, images and the depth mask of
// one kind of graphics device. The provider forwards its drawing operations here; it checks
// what comes from documents (mesh counts) before it does.

#include <cstdint>
#include <memory>

#include "render/primitives.h"
#include "render/vec2.h"
#include "stream/encoded_text.h"

namespace cva {

class ImageResource;
class ResourceProvider;

class GraphicsBackend {
 public:
  virtual ~GraphicsBackend() = default;

  virtual std::unique_ptr<Transform> CreateTransform() = 0;
  virtual std::unique_ptr<SolidQuad> CreateSolidQuad() = 0;
  virtual std::unique_ptr<Sprite> CreateSprite() = 0;
  virtual std::unique_ptr<TextPrimitive> CreateTextPrimitive() = 0;
  // The counts lie within the mesh limits (render/mesh_limits.h): the provider clamps them.
  virtual std::unique_ptr<MeshPrimitive> CreateMesh(int32_t vertex_count, int32_t index_count) = 0;
  // A new image resource in state idle; `owner` is the provider that fetches its bytes.
  virtual std::unique_ptr<ImageResource> CreateImageResource(ResourceProvider& owner,
                                                             const EncodedText& name) = 0;
  virtual void BeginMask(const Transform& transform, Vec2 extent) = 0;
  virtual void EndMask() = 0;
};

}  // namespace cva
