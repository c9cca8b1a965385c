#include "sound/wave_sound.h"

#include <utility>

#include "stream/text_conversion.h"
#include "system/random_access_file.h"
#include "system/services.h"

namespace cva {

WaveSound::~WaveSound() = default;

std::unique_ptr<RandomAccessFile> WaveSound::OpenReader() const {
  if (in_memory_) return std::make_unique<MemoryFile>(in_memory_);
  // A handle of its own, so that no two playbacks ever share a file position.
  if (file_) return SystemServices().OpenFile(name());
  return nullptr;
}

LoadableResource::LoadResult WaveSound::Load(std::vector<uint8_t>&) {
  ReleaseLoaded();
  std::unique_ptr<RandomAccessFile> file = SystemServices().OpenFile(name());
  if (!file) return Fail("cannot be opened");
  const uint64_t size = file->Size();
  if (size >= kStreamFromFileBytes) {
    file_ = std::move(file);
  } else {
    auto bytes = std::make_shared<std::vector<uint8_t>>(size);
    if (file->ReadAt(0, bytes->data(), bytes->size()) != bytes->size())
      return Fail("cannot be read");
    in_memory_ = std::move(bytes);
  }
  MemoryFile memory(in_memory_);
  RandomAccessFile& reader = file_ ? *file_ : static_cast<RandomAccessFile&>(memory);
  std::string reason;
  if (!ReadWaveInfo(reader, info_, reason)) return Fail(reason);
  return kLoaded;
}

void WaveSound::ReleaseLoaded() {
  info_ = WaveInfo();
  file_.reset();
  in_memory_.reset();
  failure_.clear();
}

LoadableResource::LoadResult WaveSound::Fail(std::string reason) {
  ReleaseLoaded();
  failure_ = std::move(reason);
  SystemServices().DebugOutput("sound " + ToUtf8(name()) + ": " + failure_ + "\n");
  return kLoadFailed;
}

}  // namespace cva
