// The stand-alone player: plays the document in its own resources.
#include <windows.h>

#include "player/windows/player_app.h"
#include "system/services.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  cva::SetProgramName("cvaplay");
  cva::PlayerApp app;
  return app.Run(instance, show_command);
}
