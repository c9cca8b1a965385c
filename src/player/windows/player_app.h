#pragma once

#include <windows.h>

#include <memory>

#include "archive/lzp_archive.h"
#include "document/data_source.h"
#include "player/clear_colour_target.h"
#include "player/windows/display_modes.h"
#include "render/d3d9/render_device.h"

namespace cva {

class D3d9Graphics;
class Player;

// The stand-alone player program: its window, the objects that play the document from the
// program's own resources, the message loop that renders a frame whenever no message waits,
// and the window procedure. One per process.
class PlayerApp final : private FrameStep, private ClearColourTarget {
 public:
  PlayerApp();
  ~PlayerApp() override;
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
  void MakeProgramDirectoryCurrent();
  int RunLoop(HACCEL accelerators);
  void TearDown();

  // FrameStep: one frame of the player inside the device's scene.
  void RunFrameStep() override;
  // ClearColourTarget: the start document's opaque background.
  void SetClearColour(Colour colour) override;

  HINSTANCE instance_ = nullptr;
  HWND window_ = nullptr;
  wchar_t title_[100] = {};
  wchar_t class_name_[100] = {};
  bool active_ = true;
  bool in_size_move_ = false;
  std::unique_ptr<DisplayModes> display_modes_;
  // The archive of the program's resources and where named data comes from; they outlive the
  // player that reads through them.
  std::unique_ptr<LzpArchive> archive_;
  std::unique_ptr<DataSource> data_;
  std::unique_ptr<D3d9Graphics> graphics_;
  std::unique_ptr<Player> player_;
};

}  // namespace cva
