#include "player/windows/display_modes.h"

namespace cva {

DisplayModes::DisplayModes() {
  for (DWORD number = 0;; ++number) {
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    if (!EnumDisplaySettingsW(nullptr, number, &mode)) break;
    mode.dmSize = sizeof mode;
    records_.push_back(mode);
    modes_.push_back({mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel});
  }
}

void DisplayModes::SetRequestedSize(int32_t width, int32_t height) {
  requested_width_ = width;
  requested_height_ = height;
}

void DisplayModes::Apply(HWND window, bool windowed) {
  if (!windowed) {
    SetWindowLongPtrW(window, GWL_STYLE, WS_BORDER);
    ShowWindow(window, SW_SHOWMAXIMIZED);
    windowed_ = false;
    return;
  }
  // A title bar and a thin border: no system menu, sizing frame or boxes. The frame is
  // measured for this very style; measured for the overlapped style, whose sizing frame is
  // thicker, the client area would come out larger than asked.
  constexpr DWORD kStyle = WS_CAPTION;
  SetWindowLongPtrW(window, GWL_STYLE, kStyle);
  RECT frame{0, 0, requested_width_, requested_height_};
  AdjustWindowRect(&frame, kStyle, FALSE);
  const int32_t width = frame.right - frame.left;
  const int32_t height = frame.bottom - frame.top;
  DEVMODEW current{};
  current.dmSize = sizeof current;
  EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &current);
  const WindowOrigin origin =
      CentredOrigin(static_cast<int32_t>(current.dmPelsWidth),
                    static_cast<int32_t>(current.dmPelsHeight), width, height);
  // SWP_FRAMECHANGED makes the new style take effect along with the new size.
  SetWindowPos(window, nullptr, origin.x, origin.y, width, height, SWP_NOZORDER | SWP_FRAMECHANGED);
  windowed_ = true;
}

bool DisplayModes::SwitchMode(int32_t width, int32_t height) {
  SetRequestedSize(width, height);
  const std::optional<size_t> chosen = ChooseDisplayMode(modes_, width, height);
  if (!chosen) return false;
  ChangeDisplaySettingsW(&records_[*chosen], CDS_FULLSCREEN);
  return true;
}

}  // namespace cva
