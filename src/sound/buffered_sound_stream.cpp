#include "sound/buffered_sound_stream.h"

#include <algorithm>

#include "sound/secondary_buffer.h"

namespace cva {

BufferedSoundStream::BufferedSoundStream(std::unique_ptr<SecondaryBuffer> buffer,
                                         SampleFiller filler)
    : buffer_(std::move(buffer)), filler_(std::move(filler)) {}

BufferedSoundStream::~BufferedSoundStream() {
  Stop();
}

void BufferedSoundStream::SetVolume(int32_t volume) {
  const int64_t level = (int64_t{volume} - 1000) * 10;
  buffer_->SetVolume(static_cast<int32_t>(std::clamp<int64_t>(level, -10000, 0)));
}

void BufferedSoundStream::SetPan(int32_t pan) {
  buffer_->SetPan(static_cast<int32_t>(std::clamp<int64_t>(int64_t{pan} * 10, -10000, 10000)));
}

void BufferedSoundStream::PlayRange(float start, float length, bool loop) {
  Stop();
  filler_.Start(start, length, loop);
  stop_request_ = false;
  playing_ = true;
  worker_ = std::thread(&BufferedSoundStream::Work, this);
}

void BufferedSoundStream::Stop() {
  stop_request_ = true;
  if (worker_.joinable()) {
    buffer_->Wake();
    worker_.join();
  }
  playing_ = false;
}

void BufferedSoundStream::Work() {
  SecondaryBuffer& buffer = *buffer_;
  bool more[2] = {filler_.Fill(0, buffer), filler_.Fill(1, buffer)};
  buffer.SetPosition(0);
  buffer.PlayLooping();
  while (!stop_request_) {
    const int half = buffer.WaitForHalf(kWaitMs);
    if (stop_request_) break;
    if (half != 0 && half != 1) continue;
    // Play has left `half` for the other one; if that holds only silence, the sound is over:
    // end now rather than play the padding.
    if (!more[1 - half]) {
      stop_request_ = true;
      break;
    }
    more[half] = filler_.Fill(half, buffer);
  }
  buffer.Stop();
  playing_ = false;
}

}  // namespace cva
