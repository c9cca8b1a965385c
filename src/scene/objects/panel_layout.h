#pragma once

#include <array>

#include "render/image_resource.h"
#include "render/vec2.h"

namespace cva {

// One of the nine parts of a panel: the region of the image it shows (origin and size in
// pixels) and where it is drawn inside the panel (origin and size).
struct PanelPart {
  Vec2 source_origin;
  Vec2 source_size;
  Vec2 origin;
  Vec2 size;
};

// The nine parts of a panel of `size` with borders `border` (x: left and right width, y: top
// and bottom height), row by row from the top left. The corners keep their size, the edges
// stretch along their side and the centre both ways. Borders are limited to half the panel
// and to half the image. Without an image (a size of 0 by 0) every part shows what it covers.
std::array<PanelPart, 9> PanelLayout(Vec2 size, Vec2 border, ImageSize image);

}  // namespace cva
