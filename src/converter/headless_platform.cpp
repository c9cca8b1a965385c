#include "converter/headless_platform.h"

#include <string_view>

#include "converter/inert_primitives.h"
#include "document/named_data.h"
#include "render/image_resource.h"
#include "render/matrix_transform.h"
#include "sound/sound_resource.h"
#include "stream/text_conversion.h"
#include "system/services.h"

namespace cva {
namespace {

// Decodes nothing; loading it records the image's file for packing.
class HeadlessImage final : public ImageResource {
 public:
  HeadlessImage(HeadlessPlatform& platform, EncodedText name)
      : ImageResource(platform, std::move(name)), pack_list_(platform.pack_list()) {}
  ImageSize Size() const override { return {}; }
  bool HitTest(int32_t, int32_t) const override { return true; }

 protected:
  LoadResult Load(std::vector<uint8_t>&) override {
    pack_list_.Add(ToNarrow(name()));
    return kLoaded;
  }

 private:
  PackList& pack_list_;
};

class HeadlessSound final : public SoundResource {
 public:
  using SoundResource::SoundResource;

 protected:
  LoadResult Load(std::vector<uint8_t>&) override { return kLoaded; }
};

}  // namespace

std::unique_ptr<Transform> HeadlessPlatform::CreateTransform() {
  return std::make_unique<MatrixTransform>();
}

std::unique_ptr<OpenDataRequest> HeadlessPlatform::OpenData(const EncodedText& name) {
  std::unique_ptr<OpenDataRequest> request = OpenFileData(name);
  if (!request) return nullptr;
  const std::string narrow = ToNarrow(name);
  if (std::string_view(narrow).ends_with(".cva")) pack_list_.Add(narrow);
  return request;
}

std::unique_ptr<SolidQuad> HeadlessPlatform::CreateSolidQuad() {
  return std::make_unique<InertSolidQuad>();
}

std::unique_ptr<Sprite> HeadlessPlatform::CreateSprite() {
  return std::make_unique<InertSprite>();
}

std::unique_ptr<SoundStream> HeadlessPlatform::CreateSoundStream(SoundResource&) {
  return std::make_unique<InertSoundStream>();
}

std::unique_ptr<TextPrimitive> HeadlessPlatform::CreateTextPrimitive() {
  return std::make_unique<InertTextPrimitive>();
}

std::unique_ptr<MeshPrimitive> HeadlessPlatform::CreateMesh(int32_t, int32_t) {
  return std::make_unique<InertMesh>();
}

std::unique_ptr<ImageResource> HeadlessPlatform::CreateImageResource(const EncodedText& name) {
  return std::make_unique<HeadlessImage>(*this, name);
}

std::unique_ptr<SoundResource> HeadlessPlatform::CreateSoundResource(const EncodedText& name) {
  return std::make_unique<HeadlessSound>(*this, name);
}

}  // namespace cva
