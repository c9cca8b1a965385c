#pragma once

#include <cstdint>
#include <string>

#include "rgba_image.h"

namespace cva::testing {

// How far a rendered picture may stray from its golden image: a pixel is an outlier when any
// of its four channels differs by more than `channel_tolerance`; the pictures match when they
// have the same size and at most `max_outliers` outliers.
struct CompareLimits {
  int32_t channel_tolerance = 0;
  int64_t max_outliers = 0;
};

struct CompareResult {
  bool same_size = false;
  int64_t outliers = 0;
  int32_t largest_difference = 0;  // over all channels of all pixels
  int32_t first_x = -1;            // the first outlier in reading order, -1 when none
  int32_t first_y = -1;
  bool matches = false;

  // One line for a test failure.
  std::string Describe() const;
};

CompareResult CompareImages(const render_tool::RgbaImage& expected,
                            const render_tool::RgbaImage& actual, CompareLimits limits);

}  // namespace cva::testing
