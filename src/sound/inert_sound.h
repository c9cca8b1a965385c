#pragma once

#include <cstdint>
#include <vector>

#include "sound/sound_resource.h"

namespace cva {

// A sound resource that loads without reading any audio.
class InertSound final : public SoundResource {
 public:
  using SoundResource::SoundResource;

 protected:
  LoadResult Load(std::vector<uint8_t>&) override { return kLoaded; }
};

}  // namespace cva
