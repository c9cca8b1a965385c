#pragma once

#include <pulse/simple.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "sound/secondary_buffer.h"
#include "sound/wave_info.h"

namespace cva {

// A secondary buffer in memory played through a PulseAudio playback stream: while it plays, a
// pump thread copies 10 ms at a time from the play position to the stream (the blocking write
// keeps it at the server's pace), applies volume and pan on the way, and signals a half's end
// once that half's last byte has been played.
class PulseBuffer final : public SecondaryBuffer {
 public:
  // A buffer for samples of `format` on the default server, or nullptr when no playback
  // stream can be opened.
  static std::unique_ptr<PulseBuffer> Open(const WaveFormat& format);
  ~PulseBuffer() override;
  PulseBuffer(const PulseBuffer&) = delete;
  PulseBuffer& operator=(const PulseBuffer&) = delete;

  uint8_t* Lock(uint32_t offset, uint32_t size) override;
  void Unlock(uint8_t* region, uint32_t size) override;
  void SetPosition(uint32_t offset) override;
  void PlayLooping() override;
  void Stop() override;
  void SetVolume(int32_t hundredths_db) override { volume_ = hundredths_db; }
  void SetPan(int32_t hundredths_db) override { pan_ = hundredths_db; }
  int WaitForHalf(uint32_t timeout_ms) override;
  void Wake() override;

 private:
  PulseBuffer(pa_simple* stream, const WaveFormat& format);
  void Pump();
  // Volume and pan on samples about to be written.
  void Scale(uint8_t* samples, uint32_t size) const;

  pa_simple* stream_;
  WaveFormat format_;
  uint32_t chunk_bytes_;
  uint64_t bytes_per_second_;
  std::vector<uint8_t> ring_;
  std::atomic<int32_t> volume_{0};
  std::atomic<int32_t> pan_{0};

  std::mutex mutex_;
  std::condition_variable changed_;
  uint32_t position_ = 0;
  bool half_ended_[2] = {false, false};
  bool woken_ = false;
  bool playing_ = false;
  std::thread pump_;
};

}  // namespace cva
