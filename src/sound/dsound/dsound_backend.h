#pragma once

#include <memory>

#include "sound/wave_sound_backend.h"

namespace cva {

class SoundDevice;

// WAV sounds played through the process's DirectSound device. When the device could not be
// initialised the device's interface is never touched: playbacks play nothing.
class DsoundBackend final : public WaveSoundBackend {
 public:
  explicit DsoundBackend(SoundDevice& device) : device_(device) {}

 protected:
  bool HasDevice() const override;
  std::unique_ptr<SecondaryBuffer> CreateBuffer(const WaveFormat& format) override;

 private:
  SoundDevice& device_;
};

}  // namespace cva
