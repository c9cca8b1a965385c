#pragma once

#include <windows.h>

namespace cva {

// The calls between the screen-saver frame (saver_frame, saver_window) and the program inside
// it (saver_callbacks): the frame owns the entry, the modes of the command line, the windows
// and closing on input, and calls the program's three callbacks.

// The screen-saver window's class, in the full-screen run and in the preview.
inline constexpr wchar_t kSaverWindowClass[] = L"WindowsScreenSaverClass";
// The dialog template the configuration mode shows.
inline constexpr int kConfigureDialog = 2003;

// Supplied by the program: the window procedure of the screen-saver window, which passes what
// it does not handle to DefScreenSaverProc.
LRESULT CALLBACK ScreenSaverProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// Supplied by the program: the procedure of dialog kConfigureDialog.
INT_PTR CALLBACK ScreenSaverConfigureDialog(HWND dialog, UINT message, WPARAM wparam,
                                            LPARAM lparam);
// Supplied by the program: registers the window classes the dialog needs; FALSE stops the
// configuration mode.
BOOL RegisterDialogClasses(HINSTANCE instance);

// The frame's default procedure: in the full-screen run it closes the window on a key, a
// button or a pointer move beyond a few pixels, and hides the pointer; in both runs the end of
// the window ends the program's message loop. Everything else goes to DefWindowProcW.
LRESULT CALLBACK DefScreenSaverProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace cva
