#include "test_window.h"

namespace cva::d3d9_session {
namespace {

constexpr wchar_t kClassName[] = L"cva_d3d9_session";

}  // namespace

HWND HiddenWindow() {
  static const HWND window = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);
    return CreateWindowExW(0, kClassName, L"cva", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr,
                           wc.hInstance, nullptr);
  }();
  return window;
}

void SetClientSize(int32_t width, int32_t height) {
  // A popup window has no frame: its window rectangle is its client area.
  SetWindowPos(HiddenWindow(), nullptr, 0, 0, width, height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace cva::d3d9_session
