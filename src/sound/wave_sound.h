#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sound/sound_resource.h"
#include "sound/wave_info.h"

namespace cva {

class RandomAccessFile;

// A WAV file opened from disk (by its name, relative to the current directory) when it loads.
// Files of 204,800 bytes or more stay open and are streamed; smaller ones are read into memory
// once, so their playbacks touch no file. Every playback reads through a reader of its own.
class WaveSound final : public SoundResource {
 public:
  static constexpr uint64_t kStreamFromFileBytes = 204800;

  using SoundResource::SoundResource;
  ~WaveSound() override;

  const WaveInfo& info() const { return info_; }
  bool from_file() const { return file_ != nullptr; }
  // Why the last load failed (empty after a successful one).
  const std::string& failure() const { return failure_; }
  // A new reader over the sound's file for one playback, or nullptr when it cannot be opened.
  std::unique_ptr<RandomAccessFile> OpenReader() const;

 protected:
  LoadResult Load(std::vector<uint8_t>& ignored) override;
  void ReleaseLoaded() override;

 private:
  LoadResult Fail(std::string reason);

  WaveInfo info_;
  std::unique_ptr<RandomAccessFile> file_;                 // when streamed from the file
  std::shared_ptr<const std::vector<uint8_t>> in_memory_;  // otherwise
  std::string failure_;
};

}  // namespace cva
