#pragma once

#include "sound/sound_stream.h"

namespace cva {

// A playback that plays nothing. Every operation is a virtual default, so a test can derive
// and record only what it looks at.
class InertSoundStream : public SoundStream {
 public:
  void SetPan(int32_t) override {}
  void SetVolume(int32_t) override {}
  void PlayRange(float, float, bool) override {}
  void Play(float, bool) override {}
  void Stop() override {}
};

}  // namespace cva
