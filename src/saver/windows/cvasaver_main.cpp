// The screen saver: plays the document in its own resources inside the screen-saver modes.
#include <windows.h>

#include "saver/windows/saver_frame.h"
#include "system/services.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
  cva::SetProgramName("cvasaver");
  return cva::RunScreenSaver(instance, arguments);
}
