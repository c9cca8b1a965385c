#include "document/composed_provider.h"

#include "render/image_resource.h"
#include "render/mesh_limits.h"
#include "sound/sound_resource.h"
#include "sound/sound_stream.h"
#include "stream/text_conversion.h"
#include "system/services.h"

namespace cva {

ComposedProvider::ComposedProvider() = default;

ComposedProvider::ComposedProvider(GraphicsBackend& graphics) : graphics_(&graphics) {}

ComposedProvider::ComposedProvider(GraphicsBackend& graphics, SoundBackend& sound)
    : graphics_(&graphics), sound_(&sound) {}

std::unique_ptr<Transform> ComposedProvider::CreateTransform() {
  return graphics_->CreateTransform();
}

std::unique_ptr<OpenDataRequest> ComposedProvider::OpenData(const EncodedText& name) {
  return data_->OpenData(name);
}

std::unique_ptr<SolidQuad> ComposedProvider::CreateSolidQuad() {
  return graphics_->CreateSolidQuad();
}

std::unique_ptr<Sprite> ComposedProvider::CreateSprite() {
  return graphics_->CreateSprite();
}

std::unique_ptr<SoundStream> ComposedProvider::CreateSoundStream(SoundResource& sound) {
  return sound_->CreateSoundStream(sound);
}

std::unique_ptr<TextPrimitive> ComposedProvider::CreateTextPrimitive() {
  return graphics_->CreateTextPrimitive();
}

std::unique_ptr<MeshPrimitive> ComposedProvider::CreateMesh(int32_t vertex_count,
                                                            int32_t index_count) {
  return graphics_->CreateMesh(ClampMeshVertices(vertex_count), ClampMeshIndices(index_count));
}

std::unique_ptr<ImageResource> ComposedProvider::CreateImageResource(const EncodedText& name) {
  return graphics_->CreateImageResource(*this, name);
}

std::unique_ptr<SoundResource> ComposedProvider::CreateSoundResource(const EncodedText& name) {
  return sound_->CreateSoundResource(*this, name);
}

void ComposedProvider::BeginMask(const Transform& transform, Vec2 extent) {
  graphics_->BeginMask(transform, extent);
}

void ComposedProvider::EndMask() {
  graphics_->EndMask();
}

void ComposedProvider::DebugPrint(const EncodedText& text) {
  if (text.encoding() != EncodedText::kUtf16 && text.encoding() != EncodedText::kShiftJis) return;
  debug_texts_.push_back(ToUtf8(text));
  if (debug_output_) SystemServices().DebugOutput(debug_texts_.back());
}

}  // namespace cva
