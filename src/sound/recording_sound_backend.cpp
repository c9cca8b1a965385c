#include "sound/recording_sound_backend.h"

#include "sound/recording_sound_stream.h"

namespace cva {

std::unique_ptr<SoundStream> RecordingSoundBackend::CreateSoundStream(SoundResource& sound) {
  return std::make_unique<RecordingSoundStream>(sound_calls_, next_stream_++, sound);
}

}  // namespace cva
