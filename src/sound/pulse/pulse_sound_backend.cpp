#include "sound/pulse/pulse_sound_backend.h"

#include "sound/pulse/pulse_buffer.h"

namespace cva {

bool PulseSoundBackend::HasDevice() const {
  if (has_device_ < 0) {
    // A stream of the most common format that opens shows that a server plays.
    WaveFormat probe{WaveFormat::kPcm, 2, 44100, 176400, 4, 16};
    has_device_ = PulseBuffer::Open(probe) != nullptr;
  }
  return has_device_ > 0;
}

std::unique_ptr<SecondaryBuffer> PulseSoundBackend::CreateBuffer(const WaveFormat& format) {
  return PulseBuffer::Open(format);
}

}  // namespace cva
