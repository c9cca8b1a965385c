#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "document/composed_provider.h"
#include "stream/text_conversion.h"

namespace cva::testing {

// A provider over named byte arrays that records what it was asked for. Images load when
// their bytes are not empty; sounds load unless their name is listed as broken.
class FakeProvider final : public ComposedProvider {
 public:
  FakeProvider() {
    SetDataSource(data_);
    SetGraphics(graphics_);
    SetSound(sounds_);
  }

  std::map<std::string, std::vector<uint8_t>> files;
  int advances_needed = 0;  // requests complete at once when 0
  std::set<std::string> missing_sounds;
  std::set<std::string> broken_sounds;
  std::vector<std::string> opened;   // names passed to OpenData, in order
  std::vector<std::string> created;  // image and sound resources created, in order

 private:
  // A request that completes after a number of Advance calls.
  class SlowRequest final : public OpenDataRequest {
   public:
    SlowRequest(std::vector<uint8_t> bytes, int advances) : bytes_(bytes), left_(advances) {}
    bool IsComplete() const override { return left_ == 0; }
    std::vector<uint8_t>& Bytes() override { return bytes_; }
    void Advance() override { left_ -= left_ > 0; }

   private:
    std::vector<uint8_t> bytes_;
    int left_;
  };
  struct Data final : DataSource {
    explicit Data(FakeProvider& f) : fake(f) {}
    std::unique_ptr<OpenDataRequest> OpenData(const EncodedText& name) override {
      auto it = fake.files.find(fake.opened.emplace_back(ToUtf8(name)));
      if (it == fake.files.end()) return nullptr;
      if (fake.advances_needed > 0)
        return std::make_unique<SlowRequest>(it->second, fake.advances_needed);
      return std::make_unique<CompleteDataRequest>(it->second);
    }
    FakeProvider& fake;
  };
  struct Image final : InertImage {
    using InertImage::InertImage;
    LoadResult Load(std::vector<uint8_t>& bytes) override {
      return bytes.empty() ? kLoadFailed : kLoaded;
    }
  };
  struct Graphics final : InertGraphics {
    explicit Graphics(FakeProvider& f) : fake(f) {}
    std::unique_ptr<ImageResource> CreateImageResource(ResourceProvider& owner,
                                                       const EncodedText& name) override {
      fake.created.push_back(ToUtf8(name));
      return std::make_unique<Image>(owner, name);
    }
    FakeProvider& fake;
  };
  struct Sound final : SoundResource {
    Sound(ResourceProvider& p, EncodedText name, bool ok) : SoundResource(p, name), ok(ok) {}
    LoadResult Load(std::vector<uint8_t>&) override { return ok ? kLoaded : kLoadFailed; }
    bool ok;
  };
  struct Sounds final : InertSoundBackend {
    explicit Sounds(FakeProvider& f) : fake(f) {}
    std::unique_ptr<SoundResource> CreateSoundResource(ResourceProvider& owner,
                                                       const EncodedText& name) override {
      const std::string& key = fake.created.emplace_back(ToUtf8(name));
      if (fake.missing_sounds.count(key)) return nullptr;
      return std::make_unique<Sound>(owner, name, !fake.broken_sounds.count(key));
    }
    FakeProvider& fake;
  };

  Data data_{*this};
  Graphics graphics_{*this};
  Sounds sounds_{*this};
};

}  // namespace cva::testing
