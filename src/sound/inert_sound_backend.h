#pragma once

#include <memory>

#include "sound/inert_sound.h"
#include "sound/inert_sound_stream.h"
#include "sound/sound_backend.h"

namespace cva {

// A sound backend without audio: every sound loads without reading anything and plays
// nothing. For the converter, which only loads documents, and as the base of test backends.
class InertSoundBackend : public SoundBackend {
 public:
  std::unique_ptr<SoundStream> CreateSoundStream(SoundResource&) override {
    return std::make_unique<InertSoundStream>();
  }
  std::unique_ptr<SoundResource> CreateSoundResource(ResourceProvider& owner,
                                                     const EncodedText& name) override {
    return std::make_unique<InertSound>(owner, name);
  }
};

}  // namespace cva
