#pragma once

#include <cstdint>

namespace cva {

// Largest em size in pixels a font is opened at; larger requests are reduced to it so that a
// hostile point size cannot ask for glyph bitmaps of any size. Every font rasterizer opens
// its fonts at EmPixels, so the limit is the same for all backends.
constexpr int32_t kMaxEmPixels = 512;

// The em size in pixels of a point size on a 96 dpi screen: point size x 96 / 72 rounded half
// away from zero, as the character height of the reference renderer's fonts; 0 picks the
// default of 16 pixels and the result is at most kMaxEmPixels.
int32_t EmPixels(int32_t point_size);

}  // namespace cva
