#include "player/display_mode_choice.h"

namespace cva {

std::optional<size_t> ChooseDisplayMode(std::span<const DisplayMode> modes, int32_t width,
                                        int32_t height) {
  const uint32_t min_width = static_cast<uint32_t>(width);
  const uint32_t min_height = static_cast<uint32_t>(height);
  std::optional<size_t> chosen;
  uint64_t chosen_area = 0;
  for (size_t i = 0; i < modes.size(); ++i) {
    const DisplayMode& mode = modes[i];
    if (mode.bits_per_pixel != 32 || mode.width < min_width || mode.height < min_height) continue;
    const uint64_t area = uint64_t{mode.width} * mode.height;
    if (!chosen || area < chosen_area) {
      chosen = i;
      chosen_area = area;
    }
  }
  return chosen;
}

WindowOrigin CentredOrigin(int32_t display_width, int32_t display_height, int32_t window_width,
                           int32_t window_height) {
  // 64-bit differences: extreme sizes cannot overflow before the halving.
  return {static_cast<int32_t>((int64_t{display_width} - window_width) / 2),
          static_cast<int32_t>((int64_t{display_height} - window_height) / 2)};
}

}  // namespace cva
