#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "capturing_services.h"
#include "document/composed_provider.h"
#include "frame_trace.h"
#include "input_script.h"
#include "player/clear_colour_target.h"
#include "player/player.h"
#include "render/record/recording_provider.h"
#include "scene/scene_label_listener.h"
#include "sound/recording_sound_backend.h"

namespace cva::trace {

struct TraceOptions {
  enum class Clock : uint8_t {
    kFixed,     // every frame advances by `step_ms` (the player's fixed-step mode)
    kRealTime,  // the tick count advances by `step_ms` per frame; the first frame advances 0
  };

  // Path of the document; files it names are looked up relative to its directory.
  std::string document;
  // The start label (UTF-8), looked up like the player's setting, as Shift-JIS.
  std::string label = "default";
  int32_t frames = 60;
  Clock clock = Clock::kFixed;
  uint32_t step_ms = 10;
  // Input events, and step events that change `step_ms` from their frame on.
  std::vector<session::InputEvent> input;
  // Whether a start label the document lacks fails the load (the player only reports it).
  bool require_start_label = true;
  // Whether nodes report their property values, shown image and joint links (`properties`),
  // and text instances their layout (`text`).
  bool properties = false;
  bool text = false;
};

// Plays a document headlessly the way the player does: the Player over a recording provider,
// with its frame step (pointer pass, pointer update, controller pass, advance, draw) and frame
// clock, and input from a script. After every frame it reports what the frame observed.
class TraceSession {
 public:
  // Installs its services (message boxes are captured) for its lifetime.
  explicit TraceSession(TraceOptions options);
  ~TraceSession();
  TraceSession(const TraceSession&) = delete;
  TraceSession& operator=(const TraceSession&) = delete;

  // Makes the document's directory current, starts loading it and runs frames until it is
  // current; that frame is frame 0 of the trace. False with error() when the document cannot
  // be loaded or (when required) lacks the start label.
  bool Load();
  // The trace of the next frame: frame 0 is the one Load ran, later calls run a frame each.
  FrameTrace Step();
  // Load, then `options.frames` frames, each handed to `sink`. False with error() when the
  // load failed.
  bool Run(const std::function<void(const FrameTrace&)>& sink);

  const std::string& error() const { return error_; }
  PlaybackHost& host() { return player_.host(); }
  RecordingProvider& provider() { return provider_; }
  // The colour the player would clear the stage to (set when the document became current).
  std::optional<Colour> clear_colour() const { return clear_target_.colour; }

 private:
  struct ClearTarget final : ClearColourTarget {
    void SetClearColour(Colour c) override { colour = c; }
    std::optional<Colour> colour;
  };
  struct JumpLog final : SceneLabelListener {
    void LabelEntered(int32_t label, const EncodedText* name) override;
    std::vector<JumpTrace> jumps;
  };

  // The provider the player takes, over the recording graphics and sound; keeps a typed
  // pointer to it.
  std::unique_ptr<ResourceProvider> ComposeProvider();
  // Feeds the script's input of `frame` to the player and takes the step it sets, if any.
  void ApplyFrameEvents(int32_t frame);
  void RunFrame();
  void TakeImageSizes();
  FrameTrace Capture(int32_t trace_frame);

  session::CapturingServices services_;  // first: installed before and removed after the rest
  TraceOptions options_;
  ClearTarget clear_target_;
  JumpLog jump_log_;
  RecordingProvider provider_;  // the graphics: what is drawn; outlives the player
  RecordingSoundBackend sound_;
  ComposedProvider* composed_ = nullptr;  // owned by player_
  Player player_;
  uint32_t now_ = 0;
  size_t debug_seen_ = 0;
  int32_t next_frame_ = 0;
  std::optional<FrameTrace> first_;
  std::string error_;
};

}  // namespace cva::trace
