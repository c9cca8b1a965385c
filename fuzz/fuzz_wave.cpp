// Arbitrary bytes as a WAV file: the chunk walk reads or refuses it, and a playable file
// fills both halves of a playback buffer once from a start taken from the input, then twice
// more looping.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "sound/sample_filler.h"
#include "sound/secondary_buffer.h"
#include "sound/wave_info.h"
#include "system/random_access_file.h"

namespace {

// A buffer that only holds the bytes written into it.
class MemoryBuffer final : public cva::SecondaryBuffer {
 public:
  uint8_t* Lock(uint32_t offset, uint32_t size) override {
    return offset + size <= kBytes ? bytes_.data() + offset : nullptr;
  }
  void Unlock(uint8_t*, uint32_t) override {}
  void SetPosition(uint32_t) override {}
  void PlayLooping() override {}
  void Stop() override {}
  void SetVolume(int32_t) override {}
  void SetPan(int32_t) override {}
  int WaitForHalf(uint32_t) override { return kTimedOut; }
  void Wake() override {}

 private:
  std::vector<uint8_t> bytes_ = std::vector<uint8_t>(kBytes);
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto bytes = std::make_shared<const std::vector<uint8_t>>(data, data + size);
  cva::MemoryFile file(bytes);
  cva::WaveInfo info;
  std::string reason;
  if (!cva::ReadWaveInfo(file, info, reason)) return 0;
  float start = 0.0f;
  if (size >= sizeof start) std::memcpy(&start, data + size - sizeof start, sizeof start);
  cva::SampleFiller filler(info, std::make_unique<cva::MemoryFile>(bytes));
  MemoryBuffer buffer;
  filler.Start(start, 0.0f, false);
  filler.Fill(0, buffer);
  filler.Fill(1, buffer);
  filler.Start(start, 0.0f, true);
  for (int i = 0; i < 2; ++i) filler.Fill(i, buffer);
  return 0;
}
