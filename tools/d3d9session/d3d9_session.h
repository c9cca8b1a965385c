#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "capturing_services.h"
#include "player/clear_colour_target.h"
#include "player/player.h"
#include "render/d3d9/d3d9_graphics.h"
#include "render/d3d9/render_device.h"
#include "render/image/rgba_bitmap.h"
#include "render/image_resource.h"

namespace cva::d3d9_session {

// The process's render device with a device made for the hidden window on first use; false
// when Direct3D 9 could make none.
bool EnsureDevice();

struct SessionOptions {
  // A ".cva" document; its directory becomes the current one, so its files load beside it.
  std::string input;
  // The start label (UTF-8), looked up like the player's setting, as Shift-JIS.
  std::string label = "default";
  // Frame size; by default the document's stage size.
  std::optional<ImageSize> size;
  // Fixed milliseconds per frame; by default the document's frame duration.
  std::optional<uint32_t> step_ms;
  // Whether every frame's back buffer is read back before it is presented.
  bool read_back = true;
};

// Plays a document through the Player, a ComposedProvider over files and the Direct3D 9
// backend on the process's render device, with the player's fixed-step clock, one device
// frame per step: cvarender's frames, drawn by Direct3D. Message boxes are captured.
class D3d9Session final : private FrameStep {
 public:
  explicit D3d9Session(SessionOptions options);
  ~D3d9Session() override;
  D3d9Session(const D3d9Session&) = delete;
  D3d9Session& operator=(const D3d9Session&) = delete;

  // Sizes the back buffer and the window, makes the input's directory current and runs frames
  // until the document is current; that frame is frame 0. False with error() when there is no
  // device, the input is not a readable document, it does not load or lacks the start label.
  bool Load();
  // Runs the next frame.
  void Step();
  // Whether the frames from now on are read back.
  void set_read_back(bool on) { options_.read_back = on; }

  int32_t frame_number() const { return frame_number_; }
  // The last frame as drawn, before it was presented (when reading back).
  const RgbaBitmap& frame() const { return frame_; }
  // What the render device's Frame returned for the last frame.
  int32_t last_status() const { return last_status_; }
  const std::string& error() const { return error_; }
  PlaybackHost& host() { return player_.host(); }

 private:
  struct ClearTarget final : ClearColourTarget {
    void SetClearColour(Colour c) override {
      RenderDevice::Instance().SetClearColour(0xFF000000u | uint32_t{c.red} << 16 |
                                              uint32_t{c.green} << 8 | c.blue);
    }
  };

  void RunFrameStep() override;
  void RunFrame();

  session::CapturingServices services_;  // first: installed before and removed after the rest
  SessionOptions options_;
  D3d9Graphics graphics_;  // outlives the player
  ClearTarget clear_target_;
  Player player_;
  uint32_t now_ = 0;
  uint32_t step_ms_ = 16;
  int32_t frame_number_ = 0;
  int32_t last_status_ = 0;
  RgbaBitmap frame_;
  std::string error_;
};

}  // namespace cva::d3d9_session
