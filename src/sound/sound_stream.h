#pragma once

#include <cstdint>

namespace cva {

// One playback of a sound resource.
class SoundStream {
 public:
  virtual ~SoundStream() = default;
  // -1000 is full left, 1000 full right.
  virtual void SetPan(int32_t pan) = 0;
  // 1000 is full volume, 0 silence.
  virtual void SetVolume(int32_t volume) = 0;
  // Plays from `start` seconds; `length` seconds is kept, the data always plays to its end.
  virtual void PlayRange(float start, float length, bool loop) = 0;
  virtual void Play(float start, bool loop) = 0;
  // Stops and waits until nothing more is played.
  virtual void Stop() = 0;
};

}  // namespace cva
