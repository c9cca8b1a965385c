#pragma once

#include <cstdint>
#include <string>

namespace cva {

class RandomAccessFile;

// The sample format of a WAV file's "fmt " chunk.
struct WaveFormat {
  static constexpr uint16_t kPcm = 1;

  uint16_t format_tag = 0;
  uint16_t channels = 0;
  uint32_t samples_per_sec = 0;
  uint32_t avg_bytes_per_sec = 0;
  uint16_t block_align = 0;
  uint16_t bits_per_sample = 0;
};

// Where a WAV file's samples are and where playback starts in them. Each playback keeps its
// own copy, since the start changes with every play.
struct WaveInfo {
  float start_time = 0.0f;   // seconds
  float length = 0.0f;       // seconds; kept, the data always plays to its end
  int32_t data_size = 0;     // bytes of the "data" chunk (0 without one)
  int32_t data_offset = 0;   // file offset of the first sample byte
  int32_t start_offset = 0;  // bytes from the first sample byte, a whole number of frames
  WaveFormat format;

  // Sets the start and length and recomputes the start offset.
  void SetRange(float start, float length_seconds);
};

// The byte offset of `seconds` into the samples: seconds times the bytes per second,
// truncated, then rounded down to a whole frame. 0 for a format without frames.
int32_t StartOffsetFor(const WaveFormat& format, float seconds);

// Walks the RIFF chunks of `file`: the "fmt " and "data" chunks are read, every other chunk is
// skipped by its size and the pad byte that follows an odd size. Then checks that the result
// can be played: PCM with 8 or 16 bits per sample, channels and a matching block alignment, a
// sample rate, and a data chunk that lies inside the file. A WAV without a data chunk is
// playable (silence). Returns false with `reason` set when the file is refused.
bool ReadWaveInfo(RandomAccessFile& file, WaveInfo& info, std::string& reason);

}  // namespace cva
