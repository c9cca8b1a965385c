#pragma once

#include <cstdint>
#include <string>

namespace cva {

// One call made on a sound stream that plays nothing but records, in call order. The recording
// sound backend hands out such streams so the logic that drives sounds can be followed in
// tests and traces.
struct SoundCall {
  enum class Kind : uint8_t { kPlay, kPlayRange, kStop, kSetVolume, kSetPan };
  Kind kind = Kind::kPlay;
  int32_t stream = 0;   // serial number of the stream, in creation order from 0
  std::string sound;    // the sound resource's name, UTF-8
  float start = 0.0f;   // kPlay, kPlayRange
  float length = 0.0f;  // kPlayRange
  bool loop = false;    // kPlay, kPlayRange
  int32_t value = 0;    // kSetVolume, kSetPan
};

}  // namespace cva
