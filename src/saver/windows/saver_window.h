#pragma once

#include <windows.h>

namespace cva {

// Creates the screen-saver window and runs its message loop until the window ends; returns
// the quit message's exit code. Without `parent`: the full-screen run, a topmost window over
// the whole screen that closes on input (none is made while another full-screen run has its
// window up). With `parent`: the preview, a child window filling the parent's client area,
// which ends with the parent.
int RunSaverWindow(HINSTANCE instance, HWND parent);

}  // namespace cva
