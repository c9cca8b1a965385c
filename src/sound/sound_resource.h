#pragma once

#include "document/loadable_resource.h"

namespace cva {

// A named WAV file, opened from disk when it loads. Streams that play it are created through
// ResourceProvider::CreateSoundStream.
class SoundResource : public LoadableResource {
 public:
  using LoadableResource::LoadableResource;

  ResourceKind Kind() const final { return ResourceKind::kSound; }
};

}  // namespace cva
