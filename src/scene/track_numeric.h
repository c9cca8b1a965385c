#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace cva {

// `value` truncated toward zero and clamped into the range of the integer type T. NaN gives 0.
// Plain conversion of a float outside T's range is undefined; data and easing curves can
// produce such values.
template <class T>
T TruncateSaturated(double value) {
  constexpr double kLowest = static_cast<double>(std::numeric_limits<T>::lowest());
  constexpr double kHighest = static_cast<double>(std::numeric_limits<T>::max());
  if (std::isnan(value)) return 0;
  if (value <= kLowest) return std::numeric_limits<T>::lowest();
  if (value >= kHighest) return std::numeric_limits<T>::max();
  return static_cast<T>(value);  // in range: the conversion truncates toward zero
}

// A duration in milliseconds that can be used for counting: negative, infinite and NaN
// durations count as 0.
inline float UsableDuration(float milliseconds) {
  return std::isfinite(milliseconds) && milliseconds > 0.0f ? milliseconds : 0.0f;
}

// The frame a scene clock at `time` milliseconds shows: trunc(time / frame_duration). A frame
// duration of 0, negative or NaN has no frames: the frame stays 0. Results beyond the int32
// range saturate.
inline int32_t FrameNumber(float time, float frame_duration) {
  if (UsableDuration(frame_duration) == 0.0f) return 0;
  return TruncateSaturated<int32_t>(static_cast<double>(time / frame_duration));
}

}  // namespace cva
