#pragma once

// Sounds of the software renderer: nothing is played; every call on a stream is recorded by
// the provider, so the logic that drives sounds can be followed and tested.

#include <vector>

#include "render/soft/soft_provider.h"
#include "sound/sound_resource.h"
#include "sound/sound_stream.h"

namespace cva {

// A sound resource that loads without reading any audio.
class SoftSound final : public SoundResource {
 public:
  using SoundResource::SoundResource;

 protected:
  LoadResult Load(std::vector<uint8_t>&) override { return kLoaded; }
};

class SoftSoundStream final : public SoundStream {
 public:
  SoftSoundStream(SoftProvider& owner, const SoundResource& sound);

  void SetPan(int32_t pan) override;
  void SetVolume(int32_t volume) override;
  void PlayRange(float start, float length, bool loop) override;
  void Play(float start, bool loop) override;
  void Stop() override;

 private:
  SoundCall Call(SoundCall::Kind kind) const;

  SoftProvider& owner_;
  int32_t id_;
  std::string sound_;
};

}  // namespace cva
