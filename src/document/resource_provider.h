#pragma once

// The one interface through which the scene obtains named data and creates transforms,
// drawing primitives, image and sound resources, and masks. Players read named data from
// their archive or from files; the converter's implementation draws nothing.

#include <cstdint>
#include <memory>

#include "document/open_data_request.h"
#include "render/primitives.h"
#include "render/vec2.h"
#include "stream/encoded_text.h"

namespace cva {

class ImageResource;
class SoundResource;
class SoundStream;

class ResourceProvider {
 public:
  virtual ~ResourceProvider() = default;

  virtual std::unique_ptr<Transform> CreateTransform() = 0;
  // The named bytes, or nullptr when the name cannot be opened (the provider has then told
  // the user). A returned request may hold no bytes; the load that follows then fails.
  virtual std::unique_ptr<OpenDataRequest> OpenData(const EncodedText& name) = 0;
  virtual std::unique_ptr<SolidQuad> CreateSolidQuad() = 0;
  virtual std::unique_ptr<Sprite> CreateSprite() = 0;
  virtual std::unique_ptr<SoundStream> CreateSoundStream(SoundResource& sound) = 0;
  virtual std::unique_ptr<TextPrimitive> CreateTextPrimitive() = 0;
  virtual std::unique_ptr<MeshPrimitive> CreateMesh(int32_t vertex_count, int32_t index_count) = 0;
  // A new image resource in state idle.
  virtual std::unique_ptr<ImageResource> CreateImageResource(const EncodedText& name) = 0;
  // A new sound resource in state idle, or nullptr when the sound file does not exist.
  virtual std::unique_ptr<SoundResource> CreateSoundResource(const EncodedText& name) = 0;
  virtual void BeginMask(const Transform& transform, Vec2 extent) = 0;
  virtual void EndMask() = 0;
  virtual void DebugPrint(const EncodedText& text) = 0;
};

}  // namespace cva
