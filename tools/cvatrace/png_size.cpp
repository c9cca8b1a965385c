#include "png_size.h"

namespace cva::trace {
namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Signature, chunk length, "IHDR", width, height.
constexpr size_t kHeaderEnd = 24;

uint32_t BigEndian(const std::vector<uint8_t>& bytes, size_t at) {
  return uint32_t{bytes[at]} << 24 | uint32_t{bytes[at + 1]} << 16 | uint32_t{bytes[at + 2]} << 8 |
         uint32_t{bytes[at + 3]};
}

}  // namespace

std::optional<ImageSize> PngSize(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < kHeaderEnd) return std::nullopt;
  for (size_t i = 0; i < sizeof kSignature; ++i)
    if (bytes[i] != kSignature[i]) return std::nullopt;
  if (bytes[12] != 'I' || bytes[13] != 'H' || bytes[14] != 'D' || bytes[15] != 'R')
    return std::nullopt;
  const uint32_t width = BigEndian(bytes, 16), height = BigEndian(bytes, 20);
  if (width == 0 || height == 0 || width > 0x7FFFFFFFu || height > 0x7FFFFFFFu) return std::nullopt;
  return ImageSize{static_cast<int32_t>(width), static_cast<int32_t>(height)};
}

}  // namespace cva::trace
