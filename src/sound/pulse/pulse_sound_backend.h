#pragma once

#include <memory>

#include "sound/wave_sound_backend.h"

namespace cva {

// WAV sounds played through the PulseAudio server of the session (the default sink), each
// playback on a stream of its own. Without a reachable server there is no device.
class PulseSoundBackend final : public WaveSoundBackend {
 protected:
  bool HasDevice() const override;
  std::unique_ptr<SecondaryBuffer> CreateBuffer(const WaveFormat& format) override;

 private:
  mutable int has_device_ = -1;  // not yet probed
};

}  // namespace cva
