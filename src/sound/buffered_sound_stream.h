#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

#include "sound/sample_filler.h"
#include "sound/sound_stream.h"

namespace cva {

class SecondaryBuffer;

// One playback through a secondary buffer, with a worker thread of its own while it plays:
// the worker fills both halves, starts the buffer looping, and then refills whichever half
// play has just left. A sound that does not loop ends after the half that follows its last
// data (at most one half of silence). The worker checks the stop request at least every
// 50 ms, and Stop wakes it at once.
//
// The owning thread calls every operation; the worker only fills and drives the buffer.
class BufferedSoundStream final : public SoundStream {
 public:
  static constexpr uint32_t kWaitMs = 50;

  BufferedSoundStream(std::unique_ptr<SecondaryBuffer> buffer, SampleFiller filler);
  ~BufferedSoundStream() override;
  BufferedSoundStream(const BufferedSoundStream&) = delete;
  BufferedSoundStream& operator=(const BufferedSoundStream&) = delete;

  // The buffer gets (value - 1000) x 10 hundredths of a decibel, within -10,000..0.
  void SetVolume(int32_t volume) override;
  // The buffer gets value x 10, within -10,000..10,000.
  void SetPan(int32_t pan) override;
  // Stops any playback first, then plays from `start` seconds (a whole frame at or before it).
  void PlayRange(float start, float length, bool loop) override;
  void Play(float start, bool loop) override { PlayRange(start, 0.0f, loop); }
  // Returns once the worker has ended: nothing is filled or played afterwards.
  void Stop() override;

  // True from Play until the worker ends (the data ran out or Stop was called).
  bool playing() const { return playing_.load(); }

 private:
  void Work();

  std::unique_ptr<SecondaryBuffer> buffer_;
  SampleFiller filler_;
  std::thread worker_;
  std::atomic<bool> stop_request_{false};
  std::atomic<bool> playing_{false};
};

}  // namespace cva
