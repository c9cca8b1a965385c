#pragma once

#include <cstdint>

namespace cva {

// The ring that one playback writes its samples into and an audio output plays from, looping:
// two halves of 131,072 bytes, and a notification when play passes the last byte of either.
// The playback's worker fills a half while the output plays the other. DirectSound's
// secondary buffer is one; other outputs copy from such a ring in memory.
//
// Lock, Unlock, SetPosition, PlayLooping, Stop and WaitForHalf are called by the worker;
// SetVolume and SetPan by the thread that owns the playback; Wake by either.
class SecondaryBuffer {
 public:
  static constexpr uint32_t kHalfBytes = 131072;
  static constexpr uint32_t kBytes = 2 * kHalfBytes;
  // WaitForHalf's answers besides 0 and 1.
  static constexpr int kTimedOut = -1;
  static constexpr int kWoken = -2;

  virtual ~SecondaryBuffer() = default;

  // The writable bytes of [offset, offset + size) (inside the buffer), or nullptr when the
  // region cannot be locked; every successful Lock is followed by Unlock with the same region.
  virtual uint8_t* Lock(uint32_t offset, uint32_t size) = 0;
  virtual void Unlock(uint8_t* region, uint32_t size) = 0;
  // Moves the play position (a byte offset).
  virtual void SetPosition(uint32_t offset) = 0;
  // Starts playing from the play position. Notifications left over from an earlier play (a
  // half that ended while that play was being stopped) are dropped first: taken for new ones,
  // they would have the worker refill the half that is about to play.
  virtual void PlayLooping() = 0;
  // Stops playing; what was already handed to the output may still be heard for its latency.
  virtual void Stop() = 0;
  // Volume in hundredths of a decibel, -10,000 (silence) to 0 (full).
  virtual void SetVolume(int32_t hundredths_db) = 0;
  // Pan in hundredths of a decibel: negative lowers the right channel, positive the left.
  virtual void SetPan(int32_t hundredths_db) = 0;
  // Waits up to `timeout_ms` for play to pass the end of a half. Returns the half (0 or 1),
  // kTimedOut, or kWoken when Wake was called meanwhile (or before, since the last wait).
  virtual int WaitForHalf(uint32_t timeout_ms) = 0;
  // Ends a wait in progress (or the next one) early.
  virtual void Wake() = 0;
};

}  // namespace cva
