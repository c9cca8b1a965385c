#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "converter/inert_primitives.h"
#include "document/resource_provider.h"
#include "render/image_resource.h"
#include "sound/sound_resource.h"
#include "stream/text_conversion.h"

namespace cva::testing {

// A provider over named byte arrays that records what it was asked for. Images load when
// their bytes are not empty; sounds load unless their name is listed as broken.
class FakeProvider final : public ResourceProvider {
 public:
  class Image final : public ImageResource {
   public:
    using ImageResource::ImageResource;
    ImageSize Size() const override { return {}; }
    bool HitTest(int32_t, int32_t) const override { return true; }

   protected:
    LoadResult Load(std::vector<uint8_t>& bytes) override {
      return bytes.empty() ? kLoadFailed : kLoaded;
    }
  };
  class Sound final : public SoundResource {
   public:
    Sound(ResourceProvider& p, EncodedText name, bool ok) : SoundResource(p, name), ok_(ok) {}

   protected:
    LoadResult Load(std::vector<uint8_t>&) override { return ok_ ? kLoaded : kLoadFailed; }

   private:
    bool ok_;
  };

  std::unique_ptr<Transform> CreateTransform() override {
    return std::make_unique<InertTransform>();
  }
  std::unique_ptr<OpenDataRequest> OpenData(const EncodedText& name) override {
    const std::string key = ToUtf8(name);
    opened.push_back(key);
    auto it = files.find(key);
    if (it == files.end()) return nullptr;
    if (advances_needed > 0) return std::make_unique<SlowRequest>(it->second, advances_needed);
    return std::make_unique<CompleteDataRequest>(it->second);
  }
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
  std::unique_ptr<ImageResource> CreateImageResource(const EncodedText& name) override {
    created.push_back(ToUtf8(name));
    return std::make_unique<Image>(*this, name);
  }
  std::unique_ptr<SoundResource> CreateSoundResource(const EncodedText& name) override {
    const std::string key = ToUtf8(name);
    created.push_back(key);
    if (missing_sounds.count(key)) return nullptr;
    return std::make_unique<Sound>(*this, name, !broken_sounds.count(key));
  }
  void BeginMask(const Transform&, Vec2) override {}
  void EndMask() override {}
  void DebugPrint(const EncodedText&) override {}

  // A request that completes after a number of Advance calls.
  class SlowRequest final : public OpenDataRequest {
   public:
    SlowRequest(std::vector<uint8_t> bytes, int advances) : bytes_(bytes), left_(advances) {}
    bool IsComplete() const override { return left_ == 0; }
    std::vector<uint8_t>& Bytes() override { return bytes_; }
    void Advance() override {
      if (left_ > 0) --left_;
    }

   private:
    std::vector<uint8_t> bytes_;
    int left_;
  };

  std::map<std::string, std::vector<uint8_t>> files;
  int advances_needed = 0;  // requests complete at once when 0
  std::set<std::string> missing_sounds;
  std::set<std::string> broken_sounds;
  std::vector<std::string> opened;   // names passed to OpenData, in order
  std::vector<std::string> created;  // image and sound resources created, in order
};

}  // namespace cva::testing
