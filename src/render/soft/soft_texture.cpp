#include "render/soft/soft_texture.h"

#include <algorithm>
#include <cmath>

namespace cva {

int32_t SoftTexture::WrapIndex(float coordinate, int32_t size) {
  if (size <= 0) return 0;
  // Texture units address texels with a fixed number of fraction bits; snapping to 1/256
  // texel keeps a coordinate that lands on a texel boundary (a pixel centre mapped through
  // u = x / width) on the texel it names instead of one below after float rounding.
  const double fraction_units = static_cast<double>(coordinate) * size * 256.0 + 0.5;
  if (!(std::fabs(fraction_units) < 4.0e18)) {
    if (!std::isfinite(coordinate)) return 0;
    // Beyond 64-bit fixed point: the wrapped position is lost in the float's precision
    // anyway; take it from the double.
    const double texel = std::floor(fraction_units / 256.0);
    const double wrapped = texel - std::floor(texel / size) * size;
    return std::clamp(static_cast<int32_t>(wrapped), 0, size - 1);
  }
  int64_t fixed = static_cast<int64_t>(fraction_units);      // truncates towards zero
  if (static_cast<double>(fixed) > fraction_units) --fixed;  // floor
  const int64_t texel = fixed >> 8;  // arithmetic shift: floor division by 256
  if ((size & (size - 1)) == 0) return static_cast<int32_t>(texel & (size - 1));
  int64_t index = texel % size;
  if (index < 0) index += size;
  return static_cast<int32_t>(index);
}

Texel SoftTexture::SampleWrapPoint(float u, float v) const {
  if (empty()) return {255, 255, 255, 255};
  return At(WrapIndex(u, width()), WrapIndex(v, height()));
}

}  // namespace cva
