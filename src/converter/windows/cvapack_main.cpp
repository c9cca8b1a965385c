// The converter: one dialog that makes a player or a screen saver from a document.
#include <windows.h>

#include "converter/windows/converter_app.h"
#include "system/services.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  cva::SetProgramName("cvapack");
  cva::ConverterApp app;
  app.Run(instance);
  return 0;
}
