#pragma once

#include <windows.h>

#include <memory>

#include "player/windows/display_modes.h"
#include "player/windows/program_player.h"

namespace cva {

// The stand-alone player program: its window, the objects that play the document from the
// program's own resources, the message loop that renders a frame whenever no message waits,
// and the window procedure. One per process.
class PlayerApp final {
 public:
  PlayerApp();
  ~PlayerApp();
  PlayerApp(const PlayerApp&) = delete;
  PlayerApp& operator=(const PlayerApp&) = delete;

  // Start-up, the loop and teardown; returns the quit message's exit code, or 0 when the
  // window cannot be made.
  int Run(HINSTANCE instance, int show_command);

 private:
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  bool CreateMainWindow(HINSTANCE instance);
  void CreatePlayer();
  int RunLoop(HACCEL accelerators);
  void TearDown();

  HINSTANCE instance_ = nullptr;
  HWND window_ = nullptr;
  wchar_t title_[100] = {};
  wchar_t class_name_[100] = {};
  bool active_ = true;
  bool in_size_move_ = false;
  std::unique_ptr<DisplayModes> display_modes_;
  std::unique_ptr<ProgramPlayer> program_;
};

}  // namespace cva
