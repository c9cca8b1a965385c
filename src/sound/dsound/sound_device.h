#pragma once

#include <dsound.h>
#include <windows.h>

#include "system/windows/com_ref.h"

namespace cva {

// The process's DirectSound device, with its primary buffer set to 44.1 kHz 16-bit stereo.
// Made on first use, initialised by the player for its window; without a successful Init
// there is no device and no playback is made.
class SoundDevice {
 public:
  static SoundDevice& Instance();

  // Creates the default device at priority level for `window` and sets the primary format.
  // Returns whether everything succeeded; on failure no device is kept.
  bool Init(HWND window);
  // The primary buffer, then the device.
  void Release();

  bool has_device() const { return static_cast<bool>(sound_); }
  IDirectSound* sound() const { return sound_.get(); }

 private:
  SoundDevice() = default;
  ~SoundDevice() { Release(); }

  HWND window_ = nullptr;
  ComRef<IDirectSound> sound_;
  ComRef<IDirectSoundBuffer> primary_;
};

}  // namespace cva
