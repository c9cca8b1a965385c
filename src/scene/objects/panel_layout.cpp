#include "scene/objects/panel_layout.h"

#include <algorithm>

namespace cva {
namespace {

// A border limited to [0, extent / 2]; NaN counts as 0.
float Limited(float border, float extent) {
  if (!(border > 0.0f) || !(extent > 0.0f)) return 0.0f;
  return std::min(border, extent / 2.0f);
}

// The three spans (start, length) of one direction: border, middle, border.
std::array<std::array<float, 2>, 3> Spans(float extent, float border) {
  return {{{0.0f, border}, {border, extent - 2.0f * border}, {extent - border, border}}};
}

}  // namespace

std::array<PanelPart, 9> PanelLayout(Vec2 size, Vec2 border, ImageSize image) {
  const float width = size.x > 0.0f ? size.x : 0.0f;
  const float height = size.y > 0.0f ? size.y : 0.0f;
  const bool textured = image.width > 0 && image.height > 0;
  const float image_w = textured ? static_cast<float>(image.width) : width;
  const float image_h = textured ? static_cast<float>(image.height) : height;
  const float bx = std::min(Limited(border.x, width), Limited(border.x, image_w));
  const float by = std::min(Limited(border.y, height), Limited(border.y, image_h));
  const auto columns = Spans(width, bx);
  const auto rows = Spans(height, by);
  const auto source_columns = Spans(image_w, bx);
  const auto source_rows = Spans(image_h, by);
  std::array<PanelPart, 9> parts{};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      PanelPart& part = parts[static_cast<size_t>(r * 3 + c)];
      part.origin = {columns[c][0], rows[r][0]};
      part.size = {columns[c][1], rows[r][1]};
      part.source_origin = {source_columns[c][0], source_rows[r][0]};
      part.source_size = {source_columns[c][1], source_rows[r][1]};
    }
  }
  return parts;
}

}  // namespace cva
