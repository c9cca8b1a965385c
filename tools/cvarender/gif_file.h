#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rgba_image.h"

namespace cva::render_tool {

// One picture of an animation and the time, in milliseconds, it stays on screen.
struct TimedFrame {
  RgbaImage image;
  uint32_t duration_ms = 0;
};

// Frame delays of a GIF in hundredths of a second. Delays are rounded on the running total,
// so the animation's length stays right even when single frames are shorter than a
// hundredth. Viewers show delays under two hundredths much slower than asked, so a frame
// that would get less is dropped and its time given to the frame before it. Entries for
// dropped frames are 0.
std::vector<uint16_t> GifDelays(const std::vector<uint32_t>& durations_ms);

// Writes a looping animated GIF (one palette per frame: the exact colours of frames with at
// most 256, a median-cut reduction otherwise; alpha ignored). All frames
// must share the first frame's size. False with `error` when that fails.
bool WriteGif(const std::string& path, const std::vector<TimedFrame>& frames, std::string& error);

}  // namespace cva::render_tool
