#include "render/glyphs/font_size.h"

#include <algorithm>
#include <cstdlib>

namespace cva {

int32_t EmPixels(int32_t point_size) {
  const int64_t scaled = int64_t{point_size} * 96;
  int64_t em = (std::llabs(scaled) + 36) / 72;  // rounded half away from zero
  if (em == 0) em = 16;
  return static_cast<int32_t>(std::min<int64_t>(em, kMaxEmPixels));
}

}  // namespace cva
