#include "sound/wave_sound_backend.h"

#include "sound/buffered_sound_stream.h"
#include "sound/inert_sound_stream.h"
#include "sound/secondary_buffer.h"
#include "sound/wave_sound.h"
#include "stream/text_conversion.h"
#include "system/random_access_file.h"
#include "system/services.h"

namespace cva {

const char* const WaveSoundBackend::kNoDeviceText =
    "サウンドデバイスを初期化できませんでした。音は鳴りませんが、再生は続きます。";
const char* const WaveSoundBackend::kNoDeviceCaption = "サウンドの初期化の失敗";

std::unique_ptr<SoundResource> WaveSoundBackend::CreateSoundResource(ResourceProvider& owner,
                                                                     const EncodedText& name) {
  const bool named =
      name.encoding() == EncodedText::kUtf16 || name.encoding() == EncodedText::kShiftJis;
  Services& services = SystemServices();
  if (named && !services.FileExists(name)) {
    services.ShowMessage(ToUtf8(name) + "が読み込めません。", "ロードの失敗",
                         Services::Buttons::kOk);
    return nullptr;
  }
  return std::make_unique<WaveSound>(owner, name);
}

std::unique_ptr<SoundStream> WaveSoundBackend::CreateSoundStream(SoundResource& sound) {
  if (!HasDevice()) {
    if (!told_no_device_) {
      told_no_device_ = true;
      SystemServices().ShowMessage(kNoDeviceText, kNoDeviceCaption, Services::Buttons::kOk);
    }
    return std::make_unique<InertSoundStream>();
  }
  auto* wave = dynamic_cast<WaveSound*>(&sound);
  if (!wave || !wave->done()) return std::make_unique<InertSoundStream>();
  std::unique_ptr<RandomAccessFile> reader = wave->OpenReader();
  std::unique_ptr<SecondaryBuffer> buffer = reader ? CreateBuffer(wave->info().format) : nullptr;
  if (!buffer) return std::make_unique<InertSoundStream>();
  return std::make_unique<BufferedSoundStream>(std::move(buffer),
                                               SampleFiller(wave->info(), std::move(reader)));
}

}  // namespace cva
