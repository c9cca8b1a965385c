#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cva::render_tool {

// Which frames to keep: a range of frame numbers, or moments in milliseconds after frame 0.
struct FrameRequest {
  enum class Kind : uint8_t { kRange, kTimes };
  Kind kind = Kind::kRange;
  int32_t first = 0;               // kRange, inclusive
  int32_t last = 0;                // kRange, inclusive
  std::vector<uint32_t> times_ms;  // kTimes, in the order given
};

// One frame to keep: its number (frame 0 is the frame in which the document became current;
// frame n is n steps later) and the name of its PNG file.
struct PlannedFrame {
  int32_t frame = 0;
  std::string file_name;
};

// Parses "A..B" (whole frame numbers, A <= B, at most a million frames). False with `error`
// otherwise.
bool ParseFrameRange(std::string_view text, int32_t& first, int32_t& last, std::string& error);
// Parses "MS,MS,..." (whole milliseconds). False with `error` otherwise.
bool ParseTimes(std::string_view text, std::vector<uint32_t>& times_ms, std::string& error);

// The frames to keep, in increasing frame order without repeats. A moment is shown by the
// first frame at or after it (frame ceil(MS / step)); moments that fall on the same frame
// share it. Files are "frame_NNNNN.png" for ranges and "at_NNNNNNms.png" (the first moment
// of the frame) for moments.
std::vector<PlannedFrame> PlanFrames(const FrameRequest& request, uint32_t step_ms);

}  // namespace cva::render_tool
