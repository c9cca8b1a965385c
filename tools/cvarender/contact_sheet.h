#pragma once

#include <vector>

#include "rgba_image.h"

namespace cva::render_tool {

// Thumbnails of `frames` in rows on a dark ground, left to right and top to bottom, as close
// to a square sheet as the count allows. Frames wider than `max_thumb_width` are shrunk (by
// averaging the pixels each thumbnail pixel covers), keeping their shape. All frames are
// placed in cells of the first frame's size. Empty when there is no frame.
RgbaImage ContactSheet(const std::vector<const RgbaImage*>& frames, int32_t max_thumb_width = 200);

}  // namespace cva::render_tool
