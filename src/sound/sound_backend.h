#pragma once

// The sound half of a ResourceProvider: sound resources and the streams that play them, on one
// kind of audio output (or none).

#include <memory>

#include "stream/encoded_text.h"

namespace cva {

class ResourceProvider;
class SoundResource;
class SoundStream;

class SoundBackend {
 public:
  virtual ~SoundBackend() = default;

  // A new playback of a loaded sound.
  virtual std::unique_ptr<SoundStream> CreateSoundStream(SoundResource& sound) = 0;
  // A new sound resource in state idle, or nullptr when the sound cannot be played (a backend
  // that refuses a name tells the user itself). `owner` is the provider that fetches its bytes.
  virtual std::unique_ptr<SoundResource> CreateSoundResource(ResourceProvider& owner,
                                                             const EncodedText& name) = 0;
};

}  // namespace cva
