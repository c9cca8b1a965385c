#include "saver/windows/saver_window.h"

#include <cstdlib>

#include "saver/windows/screen_saver.h"

namespace cva {
namespace {

// A pointer that moves no more than this many pixels from where it was when the window came up
// (a jittering mouse, a synthetic move when the window appears) does not end the run.
constexpr LONG kMoveTolerance = 4;

// The run in progress; one window per process.
struct SaverRun {
  bool full_screen = false;
  // Set once the window has been made, with where the pointer was then. Input and activation
  // count only from then on: the player's start may ask a question first, and neither the
  // pointer moved to answer it nor the activation that the question's box takes and gives back
  // may end the run the moment it starts.
  bool started = false;
  POINT start_pointer{};
  bool closing = false;
};
SaverRun g_run;

void Close(HWND window) {
  if (g_run.closing) return;
  g_run.closing = true;
  PostMessageW(window, WM_CLOSE, 0, 0);
}

bool PointerMovedAway() {
  POINT now{};
  if (!GetCursorPos(&now)) return false;
  return std::labs(now.x - g_run.start_pointer.x) > kMoveTolerance ||
         std::labs(now.y - g_run.start_pointer.y) > kMoveTolerance;
}

// Input that ends the full-screen run; true when the message was such input.
bool CloseOnInput(HWND window, UINT message, WPARAM wparam) {
  if (!g_run.started) return false;
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
      Close(window);
      return true;
    case WM_MOUSEMOVE:
      if (PointerMovedAway()) Close(window);
      return true;
    case WM_ACTIVATEAPP:
      if (!wparam) Close(window);  // another program took over the screen
      return false;
    default:
      return false;
  }
}

}  // namespace

LRESULT CALLBACK DefScreenSaverProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (g_run.full_screen) {
    if (CloseOnInput(window, message, wparam)) return 0;
    switch (message) {
      case WM_SETCURSOR:
        SetCursor(nullptr);
        return TRUE;
      case WM_SYSCOMMAND:
        if ((wparam & 0xFFF0) == SC_SCREENSAVE) return 0;  // it is running already
        break;
    }
  }
  if (message == WM_NCDESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wparam, lparam);
}

int RunSaverWindow(HINSTANCE instance, HWND parent) {
  g_run = SaverRun{};
  g_run.full_screen = parent == nullptr;
  if (g_run.full_screen) {
    HWND running = FindWindowW(kSaverWindowClass, nullptr);
    if (running && IsWindowVisible(running)) return 0;
  }

  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  window_class.lpfnWndProc = &ScreenSaverProc;
  window_class.hInstance = instance;
  window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(107));
  window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  window_class.lpszClassName = kSaverWindowClass;
  RegisterClassExW(&window_class);

  HWND window = nullptr;
  if (g_run.full_screen) {
    window =
        CreateWindowExW(WS_EX_TOPMOST, kSaverWindowClass, L"", WS_POPUP | WS_VISIBLE,
                        GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                        GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN),
                        nullptr, nullptr, instance, nullptr);
    if (window) {
      GetCursorPos(&g_run.start_pointer);
      g_run.started = true;
      ShowCursor(FALSE);  // only now: the start's question needs it
      SetForegroundWindow(window);
    }
  } else {
    RECT area{};
    GetClientRect(parent, &area);
    window = CreateWindowExW(0, kSaverWindowClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, area.right,
                             area.bottom, parent, nullptr, instance, nullptr);
  }
  if (!window) return 1;

  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
    // A preview whose parent went away without taking the child along ends too.
    if (parent && !IsWindow(parent) && IsWindow(window)) DestroyWindow(window);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace cva
