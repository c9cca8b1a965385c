#pragma once

#include <windows.h>

#include <cstdint>

namespace cva::d3d9_session {

// A hidden popup window of the process, made on first use, that the render device draws for.
HWND HiddenWindow();

// Gives the hidden window a client area of width x height pixels.
void SetClientSize(int32_t width, int32_t height);

// Handles the messages waiting for the process's windows.
void PumpMessages();

}  // namespace cva::d3d9_session
