#include "sound/wave_info.h"

#include <cmath>
#include <cstdint>

#include "system/random_access_file.h"

namespace cva {
namespace {

constexpr uint32_t kFmtId = 0x20746D66;    // "fmt "
constexpr uint32_t kDataId = 0x61746164;   // "data"
constexpr uint64_t kRiffHeaderBytes = 12;  // "RIFF", its size, "WAVE" (none is checked)
constexpr uint64_t kFmtBytes = 16;         // the PCM part of a format chunk

uint16_t U16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t U32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

std::string Checked(const WaveFormat& f, bool have_format) {
  if (!have_format) return "no complete fmt chunk";
  if (f.format_tag != WaveFormat::kPcm)
    return "format " + std::to_string(f.format_tag) + " is not PCM";
  if (f.channels == 0) return "no channels";
  if (f.bits_per_sample != 8 && f.bits_per_sample != 16)
    return std::to_string(f.bits_per_sample) + " bits per sample (8 or 16 play)";
  if (f.block_align != f.channels * f.bits_per_sample / 8)
    return "block alignment " + std::to_string(f.block_align) + " does not fit the channels";
  if (f.samples_per_sec == 0) return "no sample rate";
  return {};
}

}  // namespace

int32_t StartOffsetFor(const WaveFormat& format, float seconds) {
  const float frame = static_cast<float>(format.bits_per_sample) * 0.125f * format.channels;
  const int64_t bytes_per_second = static_cast<int64_t>(frame * format.samples_per_sec);
  const int64_t frame_bytes = static_cast<int64_t>(frame);
  const double offset = std::floor(double{seconds} * static_cast<double>(bytes_per_second));
  // NaN, negative and absurd starts begin at the first sample or lie past any data.
  if (!(offset > 0) || frame_bytes <= 0) return 0;
  const int64_t whole = offset >= INT32_MAX ? INT32_MAX : static_cast<int64_t>(offset);
  return static_cast<int32_t>(whole - whole % frame_bytes);
}

void WaveInfo::SetRange(float start, float length_seconds) {
  start_time = start;
  length = length_seconds;
  start_offset = StartOffsetFor(format, start);
}

bool ReadWaveInfo(RandomAccessFile& file, WaveInfo& info, std::string& reason) {
  info = WaveInfo();
  const uint64_t size = file.Size();
  if (size > INT32_MAX) {
    reason = "file larger than 2 GiB";
    return false;
  }
  bool have_format = false;
  bool have_data = false;
  uint64_t data_end = 0;
  uint64_t position = kRiffHeaderBytes;
  while (position < size) {
    uint8_t header[8];
    if (file.ReadAt(position, header, sizeof header) != sizeof header) break;
    const uint32_t id = U32(header);
    const uint64_t chunk_size = U32(header + 4);
    const uint64_t contents = position + sizeof header;
    if (id == kFmtId) {
      uint8_t f[kFmtBytes];
      have_format = chunk_size >= kFmtBytes && file.ReadAt(contents, f, sizeof f) == sizeof f;
      if (have_format) {
        info.format.format_tag = U16(f);
        info.format.channels = U16(f + 2);
        info.format.samples_per_sec = U32(f + 4);
        info.format.avg_bytes_per_sec = U32(f + 8);
        info.format.block_align = U16(f + 12);
        info.format.bits_per_sample = U16(f + 14);
      }
    } else if (id == kDataId) {
      have_data = true;
      info.data_offset = static_cast<int32_t>(contents);
      data_end = contents + chunk_size;
      info.data_size = static_cast<int32_t>(chunk_size <= INT32_MAX ? chunk_size : INT32_MAX);
    }
    // Chunks are padded to an even size; the pad byte is not counted in the chunk size.
    position = contents + chunk_size + (chunk_size & 1);
  }
  reason = Checked(info.format, have_format);
  if (reason.empty() && have_data && data_end > size)
    reason = "data chunk of " + std::to_string(data_end - info.data_offset) +
             " bytes runs past the end of the file";
  if (!reason.empty()) return false;
  info.SetRange(0.0f, 0.0f);
  return true;
}

}  // namespace cva
