#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "document/composed_provider.h"
#include "simulated_buffer.h"
#include "sound/buffered_sound_stream.h"
#include "sound/wave_sound.h"
#include "support/recording_services.h"

namespace cva::testing {

// WAV files in recorded services, sounds loaded through a backend of simulated outputs.
class SoundRig {
 public:
  RecordingServices services;
  ComposedProvider provider;
  SimulatedBackend backend;

  std::unique_ptr<WaveSound> Load(const std::string& name, std::vector<uint8_t> file) {
    services.files[name] = std::move(file);
    return LoadFile(name);
  }
  std::unique_ptr<WaveSound> LoadFile(const std::string& name) {
    std::unique_ptr<SoundResource> sound =
        backend.CreateSoundResource(provider, EncodedText::FromNarrow(name));
    if (!sound) return nullptr;
    sound->LoadDirectly();
    return std::unique_ptr<WaveSound>(static_cast<WaveSound*>(sound.release()));
  }
  // A playback of `sound` and the simulated output it plays to.
  std::unique_ptr<BufferedSoundStream> Stream(WaveSound& sound) {
    std::unique_ptr<SoundStream> stream = backend.CreateSoundStream(sound);
    auto* buffered = dynamic_cast<BufferedSoundStream*>(stream.get());
    EXPECT_NE(buffered, nullptr);
    if (!buffered) return nullptr;
    stream.release();
    return std::unique_ptr<BufferedSoundStream>(buffered);
  }
  SimulatedOutput& output(size_t index = 0) { return backend.outputs.at(index); }
  // Whether the worker of `stream` ends by itself (it stops its output just before).
  static bool Ends(const BufferedSoundStream& stream) {
    const auto give_up = std::chrono::steady_clock::now() + SimulatedOutput::kPatience;
    while (stream.playing() && std::chrono::steady_clock::now() < give_up)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return !stream.playing();
  }
  // Plays and waits until the worker has started the output.
  void Play(BufferedSoundStream& stream, SimulatedOutput& out, float start, bool loop) {
    const int plays = out.plays();
    stream.Play(start, loop);
    out.WaitForPlays(plays + 1);
  }
};

}  // namespace cva::testing
