#pragma once

#include <memory>

#include "sound/sound_backend.h"

namespace cva {

class SecondaryBuffer;
struct WaveFormat;

// The sound backend of an audio output: WAV files from disk, and playbacks through secondary
// buffers the output makes. A sound whose file is missing is reported to the user and left
// out. When the output has no device, playbacks play nothing and the user is told once.
class WaveSoundBackend : public SoundBackend {
 public:
  // "<name>が読み込めません。" (caption "ロードの失敗"): a sound file that does not exist.
  // UTF-16 and Shift-JIS names are checked; names of other encodings pass.
  std::unique_ptr<SoundResource> CreateSoundResource(ResourceProvider& owner,
                                                     const EncodedText& name) override;
  // A playback of a loaded WaveSound through a new buffer of the output; one that plays
  // nothing when the output has no device, the sound did not load or the buffer cannot be
  // made. Without a device the output is never asked for a buffer.
  std::unique_ptr<SoundStream> CreateSoundStream(SoundResource& sound) override;

  static const char* const kNoDeviceText;
  static const char* const kNoDeviceCaption;

 protected:
  // Whether the output's device is there.
  virtual bool HasDevice() const = 0;
  // A new secondary buffer for samples of `format`, or nullptr.
  virtual std::unique_ptr<SecondaryBuffer> CreateBuffer(const WaveFormat& format) = 0;

 private:
  bool told_no_device_ = false;
};

}  // namespace cva
