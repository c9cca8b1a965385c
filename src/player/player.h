#pragma once

#include <cstdint>
#include <memory>

#include "player/input_state.h"
#include "player/player_frame.h"
#include "player/player_load_listener.h"
#include "render/draw_state.h"
#include "scene/host/playback_host.h"
#include "stream/encoded_text.h"

namespace cva {

class ClearColourTarget;
class ResourceProvider;
class SceneLabelListener;

// The long-lived objects of a player, built in this order: the resource provider, the input
// state, the draw state, the playback host over those three, the load listener attached to the
// host, and the frame step with its clock. The windowed player, the screen saver and the
// headless tools all play through it; they differ in the provider and graphics backend they
// hand in and in what drives the frames.
class Player {
 public:
  // The player keeps `provider`. `render_states` (the graphics backend) receives the render
  // states of the draw state and `clear_colour` the background of the start document; both
  // must outlive the player. The clock starts in real-time mode with no previous frame.
  Player(std::unique_ptr<ResourceProvider> provider, RenderStateTarget& render_states,
         ClearColourTarget& clear_colour);
  // Drops the host's documents first: they hold resources of the provider and are watched by
  // the listeners.
  ~Player();
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  // Drops any load in progress and starts loading `document`; once it has loaded it becomes
  // current and plays from `label` (a label name), which the load listener checks it has.
  void StartLoad(const EncodedText& document, const EncodedText& label);
  // Runs one frame; `now` is the tick count in milliseconds.
  void RunFrame(uint32_t now) { frame_.Run(now); }
  // Runs one frame at the tick count of the system services.
  void RunFrame() { frame_.Run(); }
  // Called when the window becomes active again or a move or size ends: in real-time mode the
  // next frame advances only by the time since now.
  void ResetClock() { frame_.ResetClock(); }

  // Fixed step or real time (FrameClock::SetFixedStep).
  FrameClock& clock() { return frame_.clock(); }
  // The milliseconds the last frame advanced the host by.
  float last_step() const { return frame_.last_step(); }
  // Fed by the window procedure (or a script); read once per frame.
  InputState& input() { return input_; }
  // The pointer as the last frame saw it.
  const PointerState& pointer() { return frame_.pointer(); }
  PlaybackHost& host() { return host_; }
  ResourceProvider& provider() { return *provider_; }
  // Told of every label jump of the scenes the host plays (not owned; null for none).
  void set_label_listener(SceneLabelListener* listener) { host_.set_label_listener(listener); }

 private:
  std::unique_ptr<ResourceProvider> provider_;
  InputState input_;
  DrawState draw_state_;
  PlaybackHost host_;
  PlayerLoadListener load_listener_;
  PlayerFrame frame_;
};

}  // namespace cva
