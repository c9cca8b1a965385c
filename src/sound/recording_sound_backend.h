#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "sound/inert_sound_backend.h"
#include "sound/sound_call.h"

namespace cva {

// A sound backend that plays nothing but records every call made on its streams, so the logic
// that drives sounds can be followed in tests and traces. Sounds load without reading audio.
class RecordingSoundBackend final : public InertSoundBackend {
 public:
  std::unique_ptr<SoundStream> CreateSoundStream(SoundResource& sound) override;

  // Every call made on the streams, in call order.
  const std::vector<SoundCall>& sound_calls() const { return sound_calls_; }
  void ClearSoundCalls() { sound_calls_.clear(); }

 private:
  std::vector<SoundCall> sound_calls_;
  int32_t next_stream_ = 0;
};

}  // namespace cva
