#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace cva {

// A display mode as the system lists it: its size in pixels and colour depth.
struct DisplayMode {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t bits_per_pixel = 0;
};

// The mode full-screen play switches to: among the 32-bit modes at least as large as the
// request in both sides (compared unsigned, so a negative request matches nothing), the one
// of smallest area; on equal areas the first listed. None when no mode qualifies.
std::optional<size_t> ChooseDisplayMode(std::span<const DisplayMode> modes, int32_t width,
                                        int32_t height);

// Where a window of the given size goes to be centred on a display: half the difference of
// the sides, as signed values, so a window larger than the display gets a negative origin and
// stays centred.
struct WindowOrigin {
  int32_t x = 0;
  int32_t y = 0;
};
WindowOrigin CentredOrigin(int32_t display_width, int32_t display_height, int32_t window_width,
                           int32_t window_height);

}  // namespace cva
