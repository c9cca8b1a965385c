#include "image_compare.h"

#include <algorithm>
#include <cstdlib>

namespace cva::testing {

std::string CompareResult::Describe() const {
  if (!same_size) return "the pictures differ in size";
  std::string text = std::to_string(outliers) + " pixel(s) outside the tolerance, largest " +
                     "channel difference " + std::to_string(largest_difference);
  if (first_x >= 0)
    text += ", first at (" + std::to_string(first_x) + ", " + std::to_string(first_y) + ")";
  return text;
}

CompareResult CompareImages(const render_tool::RgbaImage& expected,
                            const render_tool::RgbaImage& actual, CompareLimits limits) {
  CompareResult result;
  const size_t bytes = static_cast<size_t>(expected.width) * expected.height * 4u;
  result.same_size = expected.width == actual.width && expected.height == actual.height &&
                     expected.pixels.size() == bytes && actual.pixels.size() == bytes;
  if (!result.same_size) return result;
  for (int32_t y = 0; y < expected.height; ++y)
    for (int32_t x = 0; x < expected.width; ++x) {
      const uint8_t* e = expected.At(x, y);
      const uint8_t* a = actual.At(x, y);
      int32_t worst = 0;
      for (int c = 0; c < 4; ++c) worst = std::max(worst, std::abs(int32_t{e[c]} - a[c]));
      result.largest_difference = std::max(result.largest_difference, worst);
      if (worst <= limits.channel_tolerance) continue;
      if (result.outliers++ == 0) {
        result.first_x = x;
        result.first_y = y;
      }
    }
  result.matches = result.outliers <= limits.max_outliers;
  return result;
}

}  // namespace cva::testing
