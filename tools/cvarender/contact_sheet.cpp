#include "contact_sheet.h"

#include <algorithm>
#include <cmath>

namespace cva::render_tool {
namespace {

constexpr int32_t kGap = 4;
constexpr uint8_t kGround[4] = {40, 40, 40, 255};

// The average of the source pixels under thumbnail pixel (x, y).
void BoxSample(const RgbaImage& source, int32_t x, int32_t y, int32_t thumb_w, int32_t thumb_h,
               uint8_t* out) {
  const int64_t x0 = int64_t{x} * source.width / thumb_w;
  const int64_t x1 = std::max<int64_t>(x0 + 1, int64_t{x + 1} * source.width / thumb_w);
  const int64_t y0 = int64_t{y} * source.height / thumb_h;
  const int64_t y1 = std::max<int64_t>(y0 + 1, int64_t{y + 1} * source.height / thumb_h);
  uint64_t sum[4] = {0, 0, 0, 0};
  for (int64_t sy = y0; sy < y1; ++sy)
    for (int64_t sx = x0; sx < x1; ++sx) {
      const uint8_t* p = source.At(static_cast<int32_t>(sx), static_cast<int32_t>(sy));
      for (int c = 0; c < 4; ++c) sum[c] += p[c];
    }
  const uint64_t n = static_cast<uint64_t>((x1 - x0) * (y1 - y0));
  for (int c = 0; c < 4; ++c) out[c] = static_cast<uint8_t>(sum[c] / n);
}

}  // namespace

RgbaImage ContactSheet(const std::vector<const RgbaImage*>& frames, int32_t max_thumb_width) {
  if (frames.empty() || frames.front()->empty()) return {};
  const RgbaImage& first = *frames.front();
  int32_t thumb_w = std::min(first.width, std::max(1, max_thumb_width));
  int32_t thumb_h =
      std::max<int32_t>(1, static_cast<int32_t>(int64_t{first.height} * thumb_w / first.width));
  const int32_t count = static_cast<int32_t>(frames.size());
  const int32_t columns = static_cast<int32_t>(std::ceil(std::sqrt(static_cast<double>(count))));
  const int32_t rows = (count + columns - 1) / columns;
  RgbaImage sheet(kGap + columns * (thumb_w + kGap), kGap + rows * (thumb_h + kGap));
  for (int32_t y = 0; y < sheet.height; ++y)
    for (int32_t x = 0; x < sheet.width; ++x) std::copy(kGround, kGround + 4, sheet.At(x, y));
  for (int32_t i = 0; i < count; ++i) {
    const RgbaImage& frame = *frames[static_cast<size_t>(i)];
    if (frame.empty()) continue;
    const int32_t left = kGap + (i % columns) * (thumb_w + kGap);
    const int32_t top = kGap + (i / columns) * (thumb_h + kGap);
    for (int32_t y = 0; y < thumb_h; ++y)
      for (int32_t x = 0; x < thumb_w; ++x) {
        uint8_t* out = sheet.At(left + x, top + y);
        BoxSample(frame, x, y, thumb_w, thumb_h, out);
        out[3] = 255;
      }
  }
  return sheet;
}

}  // namespace cva::render_tool
