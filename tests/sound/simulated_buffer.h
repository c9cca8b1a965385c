#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "sound/secondary_buffer.h"
#include "sound/wave_info.h"
#include "sound/wave_sound_backend.h"

namespace cva::testing {

// What a simulated output has been given and has played. Its play cursor moves only when the
// test steps it; after each step the test waits until the worker has answered (refilled and
// waits again, or stopped), so every step is deterministic.
class SimulatedOutput {
 public:
  static constexpr auto kPatience = std::chrono::seconds(10);

  // Waits until PlayLooping has been called `count` times in all.
  void WaitForPlays(int count) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!changed_.wait_for(lock, kPatience, [&] { return plays_ >= count; }))
      ADD_FAILURE() << "the worker never started playing";
  }
  // Plays `bytes` (at most half the buffer) from the cursor, raising the notification of a
  // half whose last byte is played, then waits for the worker to settle.
  void Advance(uint32_t bytes) {
    std::unique_lock<std::mutex> lock(mutex_);
    WaitSettled(lock);
    for (uint32_t i = 0; i < bytes && playing_; ++i) {
      played_.push_back(ring_[cursor_]);
      if (cursor_ == SecondaryBuffer::kHalfBytes - 1) half_ended_[0] = true;
      if (cursor_ == SecondaryBuffer::kBytes - 1) half_ended_[1] = true;
      cursor_ = (cursor_ + 1) % SecondaryBuffer::kBytes;
    }
    changed_.notify_all();
    WaitSettled(lock);
  }

  std::vector<uint8_t> played() const { return Get(&SimulatedOutput::played_); }
  std::vector<uint8_t> ring() const { return Get(&SimulatedOutput::ring_); }
  int locks() const { return Get(&SimulatedOutput::locks_); }
  int plays() const { return Get(&SimulatedOutput::plays_); }
  bool playing() const { return Get(&SimulatedOutput::playing_); }
  std::vector<int32_t> volumes() const { return Get(&SimulatedOutput::volumes_); }
  std::vector<int32_t> pans() const { return Get(&SimulatedOutput::pans_); }
  void ClearPlayed() {
    std::lock_guard<std::mutex> lock(mutex_);
    played_.clear();
  }
  // Without Wake, a stop is only seen when a wait times out.
  void IgnoreWake() {
    std::lock_guard<std::mutex> lock(mutex_);
    ignore_wake_ = true;
  }

 private:
  friend class SimulatedBuffer;

  template <class T>
  T Get(T SimulatedOutput::*member) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return this->*member;
  }
  void WaitSettled(std::unique_lock<std::mutex>& lock) {
    if (!changed_.wait_for(lock, kPatience, [&] {
          return !playing_ || (waiting_ && !half_ended_[0] && !half_ended_[1]);
        }))
      ADD_FAILURE() << "the worker did not answer";
  }

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<uint8_t> ring_ = std::vector<uint8_t>(SecondaryBuffer::kBytes, 0xEE);
  std::vector<uint8_t> played_;
  std::vector<int32_t> volumes_, pans_;
  uint32_t cursor_ = 0;
  bool playing_ = false;
  bool waiting_ = false;
  bool half_ended_[2] = {false, false};
  bool woken_ = false;
  bool ignore_wake_ = false;
  int plays_ = 0;
  int locks_ = 0;
};

class SimulatedBuffer final : public SecondaryBuffer {
 public:
  explicit SimulatedBuffer(SimulatedOutput& output) : o_(output) {}

  uint8_t* Lock(uint32_t offset, uint32_t size) override {
    std::lock_guard<std::mutex> lock(o_.mutex_);
    EXPECT_LE(offset + size, kBytes);
    ++o_.locks_;
    return o_.ring_.data() + offset;
  }
  void Unlock(uint8_t*, uint32_t) override { std::lock_guard<std::mutex> lock(o_.mutex_); }
  void SetPosition(uint32_t offset) override {
    std::lock_guard<std::mutex> lock(o_.mutex_);
    o_.cursor_ = offset;
  }
  void PlayLooping() override {
    Set([&] {
      o_.playing_ = true;
      o_.half_ended_[0] = o_.half_ended_[1] = false;
      ++o_.plays_;
    });
  }
  void Stop() override {
    Set([&] { o_.playing_ = false; });
  }
  void SetVolume(int32_t v) override {
    Set([&] { o_.volumes_.push_back(v); });
  }
  void SetPan(int32_t v) override {
    Set([&] { o_.pans_.push_back(v); });
  }
  int WaitForHalf(uint32_t timeout_ms) override {
    std::unique_lock<std::mutex> lock(o_.mutex_);
    o_.waiting_ = true;
    o_.changed_.notify_all();
    o_.changed_.wait_for(lock, std::chrono::milliseconds(timeout_ms),
                         [&] { return o_.woken_ || o_.half_ended_[0] || o_.half_ended_[1]; });
    o_.waiting_ = false;
    if (std::exchange(o_.woken_, false)) return kWoken;
    for (int half : {0, 1})
      if (std::exchange(o_.half_ended_[half], false)) return half;
    return kTimedOut;
  }
  void Wake() override {
    Set([&] {
      if (!o_.ignore_wake_) o_.woken_ = true;
    });
  }

 private:
  template <class F>
  void Set(F f) {
    std::lock_guard<std::mutex> lock(o_.mutex_);
    f();
    o_.changed_.notify_all();
  }
  SimulatedOutput& o_;
};

// A backend whose playbacks go to simulated outputs, one per playback, in creation order.
class SimulatedBackend final : public WaveSoundBackend {
 public:
  bool device = true;
  std::deque<SimulatedOutput> outputs;

 protected:
  bool HasDevice() const override { return device; }
  std::unique_ptr<SecondaryBuffer> CreateBuffer(const WaveFormat&) override {
    return std::make_unique<SimulatedBuffer>(outputs.emplace_back());
  }
};

}  // namespace cva::testing
