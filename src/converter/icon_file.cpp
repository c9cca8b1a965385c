#include "converter/icon_file.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>

#include "stream/byte_writer.h"

namespace cva {
namespace {

constexpr size_t kHeaderSize = 6;
constexpr size_t kEntrySize = 16;
constexpr uint8_t kSide = 32;
constexpr std::array<uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t Get(std::span<const uint8_t> bytes, size_t at, size_t width) {
  uint32_t value = 0;
  for (size_t i = 0; i < width; ++i) value |= uint32_t{bytes[at + i]} << (8 * i);
  return value;
}

uint32_t GetBig(std::span<const uint8_t> bytes, size_t at) {
  return uint32_t{bytes[at]} << 24 | uint32_t{bytes[at + 1]} << 16 | uint32_t{bytes[at + 2]} << 8 |
         bytes[at + 3];
}

// The image is a 32 × 32 bitmap (its header counts the mask's rows too) or a 32 × 32 PNG;
// fills the bit count when the directory left it 0.
bool CheckImage(std::span<const uint8_t> data, IconImage& image) {
  if (data.size() >= 24 && std::equal(kPngSignature.begin(), kPngSignature.end(), data.begin()))
    return GetBig(data, 16) == kSide && GetBig(data, 20) == kSide;
  if (data.size() < 40 || Get(data, 0, 4) != 40) return false;
  const int32_t width = static_cast<int32_t>(Get(data, 4, 4));
  const int32_t height = static_cast<int32_t>(Get(data, 8, 4));
  if (width != kSide || height != 2 * kSide) return false;
  if (image.bit_count == 0) image.bit_count = static_cast<uint16_t>(Get(data, 14, 2));
  return true;
}

}  // namespace

bool ReadIconFile(const std::vector<uint8_t>& file, IconImage& image, std::string& reason) {
  const std::span<const uint8_t> bytes(file);
  if (bytes.size() < kHeaderSize || Get(bytes, 0, 2) != 0 || Get(bytes, 2, 2) != 1) {
    reason = "not an icon file";
    return false;
  }
  const size_t count = Get(bytes, 4, 2);
  if (bytes.size() < kHeaderSize + count * kEntrySize) {
    reason = "the icon file's directory is cut short";
    return false;
  }
  std::optional<size_t> chosen;
  for (size_t i = 0; i < count; ++i) {
    const size_t at = kHeaderSize + i * kEntrySize;
    if (bytes[at] != kSide || bytes[at + 1] != kSide) continue;
    // More colours (a larger colour count of 0, meaning 256 or more, then more bits) wins.
    auto depth = [&](size_t e) {
      return Get(bytes, e + 6, 2) * 512 + (bytes[e + 2] == 0 ? 256 : bytes[e + 2]);
    };
    if (!chosen || depth(at) > depth(*chosen)) chosen = at;
  }
  if (!chosen) {
    reason = "the icon file holds no 32 x 32 image";
    return false;
  }
  const uint32_t size = Get(bytes, *chosen + 8, 4);
  const uint32_t offset = Get(bytes, *chosen + 12, 4);
  if (size == 0 || offset > bytes.size() || size > bytes.size() - offset) {
    reason = "the icon file's 32 x 32 image is cut short";
    return false;
  }
  image.colour_count = bytes[*chosen + 2];
  image.planes = static_cast<uint16_t>(Get(bytes, *chosen + 4, 2));
  image.bit_count = static_cast<uint16_t>(Get(bytes, *chosen + 6, 2));
  if (!CheckImage(bytes.subspan(offset, size), image)) {
    reason = "the icon file's 32 x 32 entry does not hold a 32 x 32 image";
    return false;
  }
  image.bytes.assign(bytes.begin() + offset, bytes.begin() + offset + size);
  return true;
}

std::vector<uint8_t> GroupIconFor(const IconImage& image, uint16_t icon_id) {
  ByteWriter out;
  out.Short(0);
  out.Short(1);  // icons
  out.Short(1);  // one entry
  out.Byte(kSide);
  out.Byte(kSide);
  out.Byte(image.colour_count);
  out.Byte(0);
  out.Short(static_cast<int16_t>(image.planes));
  out.Short(static_cast<int16_t>(image.bit_count));
  out.Int(static_cast<int32_t>(image.bytes.size()));
  out.Short(static_cast<int16_t>(icon_id));
  return out.Take();
}

}  // namespace cva
