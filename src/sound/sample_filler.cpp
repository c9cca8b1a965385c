#include "sound/sample_filler.h"

#include <algorithm>
#include <cstring>

#include "sound/secondary_buffer.h"
#include "system/random_access_file.h"

namespace cva {

SampleFiller::SampleFiller(const WaveInfo& info, std::unique_ptr<RandomAccessFile> reader)
    : info_(info), reader_(std::move(reader)), staging_(SecondaryBuffer::kHalfBytes) {}

SampleFiller::SampleFiller(SampleFiller&&) noexcept = default;
SampleFiller::~SampleFiller() = default;

void SampleFiller::Start(float start, float length, bool loop) {
  loop_ = loop;
  info_.SetRange(start, length);
  read_position_ = int64_t{info_.data_offset} + info_.start_offset;
}

uint32_t SampleFiller::Read(uint32_t at, uint32_t count) {
  const int64_t end = int64_t{info_.data_offset} + info_.data_size;
  const int64_t left = std::max<int64_t>(0, end - read_position_);
  count = static_cast<uint32_t>(std::min<int64_t>(count, left));
  if (count == 0 || !reader_) return 0;
  const size_t got = reader_->ReadAt(static_cast<uint64_t>(read_position_), &staging_[at], count);
  read_position_ += static_cast<int64_t>(got);
  return static_cast<uint32_t>(got);
}

bool SampleFiller::Fill(int half, SecondaryBuffer& buffer) {
  constexpr uint32_t kHalf = SecondaryBuffer::kHalfBytes;
  const uint8_t silence = info_.format.bits_per_sample == 16 ? 0 : 128;
  bool more = true;
  if (loop_) {
    uint32_t filled = 0;
    bool just_wrapped = false;
    while (filled < kHalf) {
      const uint32_t got = Read(filled, kHalf - filled);
      filled += got;
      if (filled == kHalf) break;
      if (got == 0 && just_wrapped) {
        // Nothing to play from the start offset on: silence rather than an endless loop.
        std::memset(&staging_[filled], silence, kHalf - filled);
        break;
      }
      read_position_ = int64_t{info_.data_offset} + info_.start_offset;
      just_wrapped = true;
    }
  } else {
    const uint32_t got = Read(0, kHalf);
    std::memset(&staging_[got], silence, kHalf - got);
    more = got != 0;
  }
  if (uint8_t* region = buffer.Lock(static_cast<uint32_t>(half) * kHalf, kHalf)) {
    std::memcpy(region, staging_.data(), kHalf);
    buffer.Unlock(region, kHalf);
  }
  return more;
}

}  // namespace cva
