#pragma once

#include <memory>

#include "converter/pack_list.h"
#include "document/resource_provider.h"

namespace cva {

// The converter's resource provider: it loads documents with the players' reader but draws
// and plays nothing. Named data is read from files relative to the current directory, and
// the files that belong to the document are recorded in the pack list: documents (names
// ending exactly in ".cva") when they are opened, images when they load. Sounds are recorded
// nowhere, since players always read them from beside themselves.
class HeadlessPlatform final : public ResourceProvider {
 public:
  explicit HeadlessPlatform(PackList& pack_list) : pack_list_(pack_list) {}

  std::unique_ptr<Transform> CreateTransform() override;
  // A missing file shows "<name>が読み込めません。" (caption "ロードの失敗") and gives null.
  std::unique_ptr<OpenDataRequest> OpenData(const EncodedText& name) override;
  std::unique_ptr<SolidQuad> CreateSolidQuad() override;
  std::unique_ptr<Sprite> CreateSprite() override;
  std::unique_ptr<SoundStream> CreateSoundStream(SoundResource& sound) override;
  std::unique_ptr<TextPrimitive> CreateTextPrimitive() override;
  std::unique_ptr<MeshPrimitive> CreateMesh(int32_t vertex_count, int32_t index_count) override;
  std::unique_ptr<ImageResource> CreateImageResource(const EncodedText& name) override;
  std::unique_ptr<SoundResource> CreateSoundResource(const EncodedText& name) override;
  void BeginMask(const Transform&, Vec2) override {}
  void EndMask() override {}
  void DebugPrint(const EncodedText&) override {}

  PackList& pack_list() const { return pack_list_; }

 private:
  PackList& pack_list_;
};

}  // namespace cva
