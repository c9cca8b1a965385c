#pragma once

#include <string>
#include <vector>

#include "sound/sound_call.h"
#include "sound/sound_stream.h"

namespace cva {

class SoundResource;

// A sound stream that plays nothing and appends every call to a list its backend owns.
class RecordingSoundStream final : public SoundStream {
 public:
  RecordingSoundStream(std::vector<SoundCall>& calls, int32_t serial, const SoundResource& sound);

  void SetPan(int32_t pan) override;
  void SetVolume(int32_t volume) override;
  void PlayRange(float start, float length, bool loop) override;
  void Play(float start, bool loop) override;
  void Stop() override;

 private:
  SoundCall& Record(SoundCall::Kind kind);

  std::vector<SoundCall>& calls_;
  int32_t serial_;
  std::string sound_;
};

}  // namespace cva
