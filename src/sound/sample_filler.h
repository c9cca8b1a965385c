#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "sound/wave_info.h"

namespace cva {

class RandomAccessFile;
class SecondaryBuffer;

// Copies one playback's samples, half a buffer at a time, from its own reader into a
// secondary buffer: to the end of the data and then silence, or round again from the start
// offset when looping.
class SampleFiller {
 public:
  SampleFiller(const WaveInfo& info, std::unique_ptr<RandomAccessFile> reader);
  SampleFiller(SampleFiller&&) noexcept;
  ~SampleFiller();

  const WaveInfo& info() const { return info_; }
  // Positions the next read at `start` seconds into the data.
  void Start(float start, float length, bool loop);
  // Fills half `half` (0 or 1) of `buffer`. Returns whether the half holds any sound data
  // (false when it is all silence). Looping, it always does, except that a pass that finds no
  // data at all (nothing at or after the start offset) fills silence instead of spinning.
  bool Fill(int half, SecondaryBuffer& buffer);

 private:
  uint32_t Read(uint32_t at, uint32_t count);

  WaveInfo info_;
  std::unique_ptr<RandomAccessFile> reader_;
  int64_t read_position_ = 0;
  bool loop_ = false;
  std::vector<uint8_t> staging_;
};

}  // namespace cva
