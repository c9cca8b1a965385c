// Plays a WAV file through the platform's real audio output, for the recording checks of
// output_check.py: DirectSound on Windows, PulseAudio on Linux.
//
//   sound_play_check FILE once-then-loop SECONDS
//       plays FILE once to its end, waits 0.5 s, then plays it looping and stops it SECONDS
//       after the Play call; prints the times it measured.
//   sound_play_check FILE cpu
//       plays FILE once to its end and prints the process's CPU time meanwhile.
// Exit code 0 on success, 2 on bad arguments, 3 when the sound cannot be played.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "document/composed_provider.h"
#include "sound/buffered_sound_stream.h"
#include "sound/wave_sound.h"

#ifdef _WIN32
#include <windows.h>

#include "sound/dsound/dsound_backend.h"
#include "sound/dsound/sound_device.h"
#else
#include <sys/resource.h>

#include "sound/pulse/pulse_sound_backend.h"
#endif

namespace {

using Clock = std::chrono::steady_clock;

// Wall-clock milliseconds since 1970, which the recorder's clock shares (under Wine too).
double UnixMs() {
  return std::chrono::duration<double, std::milli>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

double CpuMs() {
#ifdef _WIN32
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto ms = [](FILETIME t) {
    return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 10000.0;
  };
  return ms(kernel) + ms(user);
#else
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto ms = [](timeval t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
#endif
}

bool WaitForEnd(const cva::BufferedSoundStream& stream, double limit_ms) {
  const auto start = Clock::now();
  while (stream.playing()) {
    if (Ms(Clock::now() - start) > limit_ms) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const std::string mode = argv[2];
#ifdef _WIN32
  HWND window = CreateWindowExW(0, L"STATIC", L"sound", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  cva::SoundDevice& device = cva::SoundDevice::Instance();
  if (!device.Init(window)) {
    std::printf("no DirectSound device\n");
    return 3;
  }
  cva::DsoundBackend backend(device);
#else
  cva::PulseSoundBackend backend;
#endif
  cva::ComposedProvider provider;
  std::unique_ptr<cva::SoundResource> sound =
      backend.CreateSoundResource(provider, cva::EncodedText::FromNarrow(argv[1]));
  if (!sound || sound->LoadDirectly() != cva::LoadableResource::kDone) return 3;
  auto& wave = static_cast<cva::WaveSound&>(*sound);
  std::unique_ptr<cva::SoundStream> made = backend.CreateSoundStream(wave);
  auto* stream = dynamic_cast<cva::BufferedSoundStream*>(made.get());
  if (!stream) {
    std::printf("no playback\n");
    return 3;
  }
  const double data_ms = 1000.0 * wave.info().data_size / wave.info().format.avg_bytes_per_sec;

  if (mode == "cpu") {
    const double cpu_before = CpuMs();
    const auto start = Clock::now();
    stream->Play(0.0f, false);
    const bool ended = WaitForEnd(*stream, data_ms + 5000);
    std::printf("from_file=%d wall_ms=%.1f cpu_ms=%.1f\n", wave.from_file() ? 1 : 0,
                Ms(Clock::now() - start), CpuMs() - cpu_before);
    return ended ? 0 : 1;
  }
  if (mode != "once-then-loop" || argc < 4) return 2;
  const double loop_ms = std::atof(argv[3]) * 1000.0;

  auto start = Clock::now();
  stream->Play(0.0f, false);
  const bool ended = WaitForEnd(*stream, data_ms + 5000);
  std::printf("once_ms=%.1f\n", Ms(Clock::now() - start));
  std::this_thread::sleep_for(std::chrono::milliseconds(500));

  start = Clock::now();
  const double play_unix = UnixMs();
  stream->Play(0.0f, true);
  std::this_thread::sleep_until(start +
                                std::chrono::microseconds(static_cast<int64_t>(loop_ms * 1000)));
  const auto stop_call = Clock::now();
  const double stop_unix = UnixMs();
  stream->Stop();
  std::printf("play_to_stop_ms=%.1f stop_call_ms=%.1f play_unix_ms=%.1f stop_unix_ms=%.1f\n",
              Ms(stop_call - start), Ms(Clock::now() - stop_call), play_unix, stop_unix);
  std::fflush(stdout);
  return ended ? 0 : 1;
}
