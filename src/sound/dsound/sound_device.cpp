#include "sound/dsound/sound_device.h"

namespace cva {

SoundDevice& SoundDevice::Instance() {
  static SoundDevice device;
  return device;
}

bool SoundDevice::Init(HWND window) {
  Release();
  window_ = window;
  ComRef<IDirectSound> sound;
  if (FAILED(DirectSoundCreate(nullptr, sound.Receive(), nullptr))) return false;
  if (FAILED(sound->SetCooperativeLevel(window, DSSCL_PRIORITY))) return false;
  DSBUFFERDESC description{};
  description.dwSize = sizeof description;
  description.dwFlags = DSBCAPS_PRIMARYBUFFER;
  ComRef<IDirectSoundBuffer> primary;
  if (FAILED(sound->CreateSoundBuffer(&description, primary.Receive(), nullptr))) return false;
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 2;
  format.nSamplesPerSec = 44100;
  format.nAvgBytesPerSec = 176400;
  format.nBlockAlign = 4;
  format.wBitsPerSample = 16;
  if (FAILED(primary->SetFormat(&format))) return false;
  sound_ = std::move(sound);
  primary_ = std::move(primary);
  return true;
}

void SoundDevice::Release() {
  primary_.Reset();
  sound_.Reset();
}

}  // namespace cva
