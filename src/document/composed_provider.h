#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "document/data_source.h"
#include "document/resource_provider.h"
#include "render/inert_graphics.h"
#include "sound/inert_sound_backend.h"

namespace cva {

// A ResourceProvider made of three parts: where named data comes from (files or an archive),
// the graphics backend that makes transforms, primitives, images and masks, and the sound
// backend that makes sounds and their playbacks. Each operation goes to its part; what no
// part should have to repeat happens here: mesh counts are clamped to the mesh limits before
// a backend sees them, and DebugPrint keeps its texts and passes them on.
//
// The parts are not owned and must outlive the provider. Named data comes from files until
// SetDataSource says otherwise; graphics not given draw nothing and sounds not given play
// nothing.
class ComposedProvider : public ResourceProvider {
 public:
  ComposedProvider();
  explicit ComposedProvider(GraphicsBackend& graphics);
  ComposedProvider(GraphicsBackend& graphics, SoundBackend& sound);
  ComposedProvider(const ComposedProvider&) = delete;
  ComposedProvider& operator=(const ComposedProvider&) = delete;

  std::unique_ptr<Transform> CreateTransform() final;
  std::unique_ptr<OpenDataRequest> OpenData(const EncodedText& name) final;
  std::unique_ptr<SolidQuad> CreateSolidQuad() final;
  std::unique_ptr<Sprite> CreateSprite() final;
  std::unique_ptr<SoundStream> CreateSoundStream(SoundResource& sound) final;
  std::unique_ptr<TextPrimitive> CreateTextPrimitive() final;
  // Counts below 0 become 0; larger ones than the mesh limits become the limits.
  std::unique_ptr<MeshPrimitive> CreateMesh(int32_t vertex_count, int32_t index_count) final;
  std::unique_ptr<ImageResource> CreateImageResource(const EncodedText& name) final;
  std::unique_ptr<SoundResource> CreateSoundResource(const EncodedText& name) final;
  void BeginMask(const Transform& transform, Vec2 extent) final;
  void EndMask() final;
  // A UTF-16 or Shift-JIS text is kept (as UTF-8) in debug_texts() and, unless switched off,
  // passed to the system services' debug output; texts of other encodings are ignored.
  void DebugPrint(const EncodedText& text) final;

  // Named data from now on comes from `data`.
  void SetDataSource(DataSource& data) { data_ = &data; }
  // Whether DebugPrint passes its texts to the services' debug output (on at first, as in the
  // players; a trace keeps them only in its frames).
  void set_debug_output(bool on) { debug_output_ = on; }
  // Texts given to DebugPrint, as UTF-8, in call order.
  const std::vector<std::string>& debug_texts() const { return debug_texts_; }

 protected:
  // For providers that own their parts: set in the constructor, before any operation.
  void SetGraphics(GraphicsBackend& graphics) { graphics_ = &graphics; }
  void SetSound(SoundBackend& sound) { sound_ = &sound; }

 private:
  FileDataSource files_;
  InertGraphics no_graphics_;
  InertSoundBackend no_sound_;
  DataSource* data_ = &files_;
  GraphicsBackend* graphics_ = &no_graphics_;
  SoundBackend* sound_ = &no_sound_;
  bool debug_output_ = true;
  std::vector<std::string> debug_texts_;
};

}  // namespace cva
