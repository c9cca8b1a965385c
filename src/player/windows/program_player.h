#pragma once

#include <windows.h>

#include <memory>

#include "archive/lzp_archive.h"
#include "document/data_source.h"
#include "player/clear_colour_target.h"
#include "player/player_settings.h"
#include "render/d3d9/render_device.h"

namespace cva {

class D3d9Graphics;
class Player;

// Reads the settings record RT_RCDATA 201 of `instance` into the process's settings and
// returns them; a record that leaves the screen mode to the user asks whether to play in full
// screen. Without a record the defaults stand.
PlayerSettings& ReadProgramSettings(HINSTANCE instance);

// The player as the programs build it from their own resources, on one window: the render
// device and the sound device for the window, the archive of RT_RCDATA 200, the data source the
// settings' data-inside flag picks (archive members or files), the Direct3D 9 graphics backend, the
// DirectSound backend, the provider composed of them and the Player. The stand-alone player and the
// screen saver both play through it; they differ in the window and in what drives the frames.
class ProgramPlayer final : private FrameStep, private ClearColourTarget {
 public:
  // Without a device the user is told once per process; the document still plays (and sounds)
  // and frames draw nothing.
  ProgramPlayer(HINSTANCE instance, HWND window);
  // Releases the player (host, provider, input and draw state, sounds and their playbacks),
  // then the graphics backend, the sound and render devices, the data source and the archive.
  ~ProgramPlayer() override;
  ProgramPlayer(const ProgramPlayer&) = delete;
  ProgramPlayer& operator=(const ProgramPlayer&) = delete;

  // Paces the clock as `settings` ask (fixed step, or real time with no previous frame), makes
  // the program's own directory current (documents kept beside the program are read from
  // there) and starts loading the settings' document at their start label.
  void Start(const PlayerSettings& settings);
  // One frame: through the device, which clears, runs the player's frame step and presents;
  // without a device the player's frame alone.
  void RunFrame();

  bool has_device() const { return RenderDevice::Instance().has_device(); }
  Player& player() { return *player_; }

 private:
  void RunFrameStep() override;
  void SetClearColour(Colour colour) override;

  // The archive and the data source outlive the player that reads through them.
  std::unique_ptr<LzpArchive> archive_;
  std::unique_ptr<DataSource> data_;
  std::unique_ptr<D3d9Graphics> graphics_;
  std::unique_ptr<Player> player_;
};

}  // namespace cva
