#include "sound/pulse/pulse_buffer.h"

#include <pulse/error.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

namespace cva {
namespace {

// Queued audio on the server: enough to ride out scheduling hiccups, short enough that a
// stop (which also flushes) and the half notifications stay close to what is heard.
constexpr uint32_t kQueuedMs = 100;

float Gain(int32_t hundredths_db) {
  return hundredths_db <= -10000 ? 0.0f : std::pow(10.0f, hundredths_db / 2000.0f);
}

}  // namespace

std::unique_ptr<PulseBuffer> PulseBuffer::Open(const WaveFormat& format) {
  pa_sample_spec spec{};
  spec.format = format.bits_per_sample == 16 ? PA_SAMPLE_S16LE : PA_SAMPLE_U8;
  spec.rate = format.samples_per_sec;
  spec.channels = static_cast<uint8_t>(std::min<uint16_t>(format.channels, 255));
  if (format.channels > PA_CHANNELS_MAX || !pa_sample_spec_valid(&spec)) return nullptr;
  pa_buffer_attr attr{};
  attr.tlength = static_cast<uint32_t>(pa_usec_to_bytes(kQueuedMs * 1000, &spec));
  // No more than that may wait on the server either: the blocking write then keeps the pump
  // at most that far ahead of what is heard (by default it could run seconds ahead).
  attr.maxlength = attr.tlength;
  attr.prebuf = static_cast<uint32_t>(-1);
  attr.minreq = static_cast<uint32_t>(-1);
  attr.fragsize = static_cast<uint32_t>(-1);
  int error = 0;
  pa_simple* stream = pa_simple_new(nullptr, "cva", PA_STREAM_PLAYBACK, nullptr, "sound", &spec,
                                    nullptr, &attr, &error);
  if (!stream) return nullptr;
  return std::unique_ptr<PulseBuffer>(new PulseBuffer(stream, format));
}

PulseBuffer::PulseBuffer(pa_simple* stream, const WaveFormat& format)
    : stream_(stream), format_(format), ring_(kBytes) {
  const uint32_t block = format.block_align;
  chunk_bytes_ = std::max(block, format.samples_per_sec / 100 * block);
  bytes_per_second_ = uint64_t{format.samples_per_sec} * block;
}

PulseBuffer::~PulseBuffer() {
  Stop();
  pa_simple_free(stream_);
}

uint8_t* PulseBuffer::Lock(uint32_t offset, uint32_t size) {
  if (offset > kBytes || size > kBytes - offset) return nullptr;
  return ring_.data() + offset;
}

void PulseBuffer::Unlock(uint8_t*, uint32_t) {
  // The pump reads the ring under the mutex: taking it here publishes what was written.
  std::lock_guard<std::mutex> lock(mutex_);
}

void PulseBuffer::SetPosition(uint32_t offset) {
  std::lock_guard<std::mutex> lock(mutex_);
  position_ = offset % kBytes;
}

void PulseBuffer::PlayLooping() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (playing_) return;
    playing_ = true;
    half_ended_[0] = half_ended_[1] = false;
  }
  pump_ = std::thread(&PulseBuffer::Pump, this);
}

void PulseBuffer::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    playing_ = false;
  }
  if (pump_.joinable()) {
    pump_.join();
    // Drops what the server still holds, so the stop is heard now and not a queue later.
    int error = 0;
    pa_simple_flush(stream_, &error);
  }
}

int PulseBuffer::WaitForHalf(uint32_t timeout_ms) {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait_for(lock, std::chrono::milliseconds(timeout_ms),
                    [this] { return woken_ || half_ended_[0] || half_ended_[1]; });
  if (woken_) {
    woken_ = false;
    return kWoken;
  }
  for (int half : {0, 1}) {
    if (half_ended_[half]) {
      half_ended_[half] = false;
      return half;
    }
  }
  return kTimedOut;
}

void PulseBuffer::Wake() {
  std::lock_guard<std::mutex> lock(mutex_);
  woken_ = true;
  changed_.notify_all();
}

void PulseBuffer::Pump() {
  using Clock = std::chrono::steady_clock;
  std::vector<uint8_t> chunk(chunk_bytes_);
  // A half counts as played when its last byte has left the server's queue, as a hardware
  // buffer's play cursor would pass it: the worker then ends a sound after its last data was
  // heard, and the stop's flush drops only padding.
  bool due[2] = {false, false};
  Clock::time_point due_at[2];
  for (;;) {
    uint32_t size = 0;
    int ended = -1;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (!playing_) return;
      for (int half : {0, 1}) {
        if (due[half] && Clock::now() >= due_at[half]) {
          due[half] = false;
          half_ended_[half] = true;
          changed_.notify_all();
        }
      }
      // Never across a half's end, so that end is known with its last byte.
      size = std::min(chunk_bytes_, kHalfBytes - position_ % kHalfBytes);
      std::memcpy(chunk.data(), ring_.data() + position_, size);
      position_ += size;
      if (position_ % kHalfBytes == 0) {
        ended = static_cast<int>(position_ / kHalfBytes) - 1;
        position_ %= kBytes;
      }
    }
    Scale(chunk.data(), size);
    int error = 0;
    if (pa_simple_write(stream_, chunk.data(), size, &error) < 0) {
      // The server went away: keep the worker's clock going at about the sound's own pace.
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (ended >= 0) {
      // Never later than half a half's playing time, however slow the sink: the worker must
      // refill the half well before the pump comes back to it.
      const pa_usec_t queued = pa_simple_get_latency(stream_, &error);
      const pa_usec_t limit = 500000ull * kHalfBytes / bytes_per_second_;
      due[ended] = true;
      due_at[ended] = Clock::now() + std::chrono::microseconds(
                                         queued == pa_usec_t(-1) ? 0 : std::min(queued, limit));
    }
  }
}

void PulseBuffer::Scale(uint8_t* samples, uint32_t size) const {
  const int32_t volume = volume_;
  const int32_t pan = pan_;
  if (volume == 0 && pan == 0) return;
  const float gain = Gain(volume);
  // Stereo only: a positive pan lowers the left channel, a negative one the right.
  const bool stereo = format_.channels == 2;
  const float left = gain * (stereo && pan > 0 ? Gain(-pan) : 1.0f);
  const float right = gain * (stereo && pan < 0 ? Gain(pan) : 1.0f);
  const uint32_t bytes = format_.bits_per_sample / 8;
  const uint32_t count = size / bytes;
  for (uint32_t i = 0; i < count; ++i) {
    const float g = stereo && (i % 2) ? right : left;
    if (bytes == 2) {
      int16_t s;
      std::memcpy(&s, samples + 2 * i, 2);
      s = static_cast<int16_t>(std::lround(s * g));
      std::memcpy(samples + 2 * i, &s, 2);
    } else {
      samples[i] = static_cast<uint8_t>(std::lround((samples[i] - 128) * g) + 128);
    }
  }
}

}  // namespace cva
