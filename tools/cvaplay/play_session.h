#pragma once

#include <memory>
#include <string>

#include "document/data_source.h"
#include "play_input.h"
#include "player/clear_colour_target.h"
#include "player/player.h"
#include "render/soft/soft_provider.h"
#include "sound/pulse/pulse_sound_backend.h"

namespace cva::play_tool {

// The player as cvaplay builds it: the software renderer's framebuffer as the graphics, the
// PulseAudio output as the sound (without a server sounds play nothing, as the backend
// handles), the data source the settings pick (the archive's members, or files beside the
// input) and the Player over them.
class PlaySession final : private ClearColourTarget {
 public:
  // Keeps `input` (its archive) for its lifetime.
  explicit PlaySession(PlayInput& input);
  ~PlaySession() override;
  PlaySession(const PlaySession&) = delete;
  PlaySession& operator=(const PlaySession&) = delete;

  // Paces the clock as the settings ask, makes the input's directory current and runs frames
  // until the document is current. False with `error` when it does not load, or lacks the
  // start label (the player's message boxes have told why by then). The framebuffer then has
  // the settings' size, or the document's stage size when the input asks for it.
  bool Load(std::string& error);
  // One frame at the clock's time: the player's frame step drawn into the framebuffer.
  void RunFrame();

  const SoftTexture& frame() const { return graphics_.framebuffer(); }
  // The current document's milliseconds per frame, as the headless tools take it.
  uint32_t document_frame_ms() const;
  Player& player() { return *player_; }

 private:
  void SetClearColour(Colour colour) override { graphics_.SetClearColour(colour); }

  PlayInput& input_;
  std::unique_ptr<DataSource> data_;
  SoftProvider graphics_;
  PulseSoundBackend sound_;
  std::unique_ptr<Player> player_;
};

}  // namespace cva::play_tool
