#pragma once

// Sounds of the software renderer: nothing is played; streams record their calls
// (RecordingSoundStream), so the logic that drives sounds can be followed and tested.

#include <vector>

#include "sound/sound_resource.h"

namespace cva {

// A sound resource that loads without reading any audio.
class SoftSound final : public SoundResource {
 public:
  using SoundResource::SoundResource;

 protected:
  LoadResult Load(std::vector<uint8_t>&) override { return kLoaded; }
};

}  // namespace cva
