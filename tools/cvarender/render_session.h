#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/lzp_archive.h"
#include "capturing_services.h"
#include "document/composed_provider.h"
#include "document/data_source.h"
#include "input_script.h"
#include "player/clear_colour_target.h"
#include "player/player.h"
#include "render/image_resource.h"
#include "render/soft/soft_provider.h"

namespace cva::render_tool {

struct RenderOptions {
  // A ".cva" document, or an ".lzp" archive holding one (see RenderSession::Load).
  std::string input;
  // The start label (UTF-8), looked up like the player's setting, as Shift-JIS.
  std::string label = "default";
  // Frame size; by default the document's stage size.
  std::optional<ImageSize> size;
  // Fixed milliseconds per frame; by default the document's frame duration.
  std::optional<uint32_t> step_ms;
  std::vector<session::InputEvent> input_events;
  // Rasterizer threads; 0 takes one per core.
  int32_t threads = 0;
};

// Plays a document headlessly with the player's frame step and fixed-step clock over the
// software renderer, so that every frame leaves a picture in the provider's framebuffer.
class RenderSession {
 public:
  // Installs its services (message boxes are captured) for its lifetime.
  explicit RenderSession(RenderOptions options);
  ~RenderSession();
  RenderSession(const RenderSession&) = delete;
  RenderSession& operator=(const RenderSession&) = delete;

  // Opens the input, sizes the frame, makes the input's directory current and runs frames
  // until the document is current; that frame is frame 0 and its picture is in frame().
  // An archive is read for the document and its images: the member named like the archive
  // with ".cva", or else its only ".cva" member. False with error() when the input cannot be
  // opened, the document does not load, or it lacks the start label.
  bool Load();
  // Runs the next frame.
  void Step();

  int32_t frame_number() const { return frame_number_; }
  uint32_t step_ms() const { return step_ms_; }
  const SoftTexture& frame() const { return provider_.framebuffer(); }
  const std::string& error() const { return error_; }
  // Message boxes the document raised since the last call, as "[caption] text".
  std::vector<std::string> TakeMessages();

  SoftProvider& provider() { return provider_; }
  PlaybackHost& host() { return player_.host(); }
  const PointerState& pointer() { return player_.pointer(); }

 private:
  struct ClearTarget final : ClearColourTarget {
    explicit ClearTarget(SoftProvider& p) : provider(p) {}
    void SetClearColour(Colour c) override { provider.SetClearColour(c); }
    SoftProvider& provider;
  };

  // The provider the player takes, over the software graphics; keeps a typed pointer to it.
  std::unique_ptr<ResourceProvider> ComposeProvider();
  bool OpenInput(std::string& document_name, std::vector<uint8_t>& bytes);
  void RunFrame();

  session::CapturingServices services_;  // first: installed before and removed after the rest
  RenderOptions options_;
  LzpArchive archive_;  // read by the provider's resources: outlives the player
  ArchiveDataSource archive_source_{archive_};
  SoftProvider provider_;  // the graphics; outlives the player
  ClearTarget clear_target_{provider_};
  ComposedProvider* composed_ = nullptr;  // owned by player_
  Player player_;
  uint32_t now_ = 0;
  uint32_t step_ms_ = 0;
  int32_t frame_number_ = 0;
  std::string error_;
};

}  // namespace cva::render_tool
