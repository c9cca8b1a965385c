#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "player/display_mode_choice.h"

namespace cva {

// The primary display's modes and the two ways the player presents its window: a centred
// window whose client area has exactly the requested size, or full screen (the smallest
// 32-bit mode holding the request, switched to temporarily, with a borderless window
// maximised over it). The render device stays a windowed device either way.
class DisplayModes {
 public:
  // Lists every mode of the primary display, in the order the system numbers them.
  DisplayModes();

  // Stores the size a windowed presentation gives the client area.
  void SetRequestedSize(int32_t width, int32_t height);
  // Windowed: caption style only, client area exactly the requested size, centred on the
  // display. Full screen: thin border, shown maximised.
  void Apply(HWND window, bool windowed);
  // Stores the requested size and switches the display to the mode ChooseDisplayMode picks
  // (CDS_FULLSCREEN: undone by the system when the program ends). False when no mode holds
  // the request; the display is then left as it is.
  bool SwitchMode(int32_t width, int32_t height);

  const std::vector<DisplayMode>& modes() const { return modes_; }
  bool windowed() const { return windowed_; }

 private:
  std::vector<DEVMODEW> records_;
  std::vector<DisplayMode> modes_;
  int32_t requested_width_ = -1;
  int32_t requested_height_ = -1;
  bool windowed_ = true;
};

}  // namespace cva
