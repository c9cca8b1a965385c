#pragma once

#include <windows.h>

namespace cva {

// The screen saver's entry: runs the mode its command line asks for (`arguments`, without the
// program's name) and returns the program's exit code: 0 when the mode ran and ended normally
// (the configuration dialog with result 0 included).
int RunScreenSaver(HINSTANCE instance, const wchar_t* arguments);

}  // namespace cva
