#pragma once

#include <dsound.h>
#include <windows.h>

#include <memory>

#include "sound/secondary_buffer.h"
#include "sound/wave_info.h"
#include "system/windows/com_ref.h"

namespace cva {

// A DirectSound secondary buffer of 262,144 bytes in software, with volume, pan, frequency and
// position notifications: auto-reset events signalled at the last byte of each half, and a
// third event that Wake sets.
class DsoundBuffer final : public SecondaryBuffer {
 public:
  // A buffer for samples of `format` on `sound`, or nullptr when it cannot be made.
  static std::unique_ptr<DsoundBuffer> Create(IDirectSound& sound, const WaveFormat& format);
  ~DsoundBuffer() override;
  DsoundBuffer(const DsoundBuffer&) = delete;
  DsoundBuffer& operator=(const DsoundBuffer&) = delete;

  uint8_t* Lock(uint32_t offset, uint32_t size) override;
  void Unlock(uint8_t* region, uint32_t size) override;
  void SetPosition(uint32_t offset) override;
  void PlayLooping() override;
  void Stop() override;
  void SetVolume(int32_t hundredths_db) override;
  void SetPan(int32_t hundredths_db) override;
  int WaitForHalf(uint32_t timeout_ms) override;
  void Wake() override;

 private:
  DsoundBuffer() = default;

  ComRef<IDirectSoundBuffer> buffer_;
  ComRef<IDirectSoundNotify> notify_;
  HANDLE events_[3] = {nullptr, nullptr, nullptr};  // half 0, half 1, wake
};

}  // namespace cva
