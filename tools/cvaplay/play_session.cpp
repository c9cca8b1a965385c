#include "play_session.h"

#include <algorithm>
#include <thread>

#include "document/composed_provider.h"
#include "document/document.h"
#include "document/document_loader.h"
#include "document_stage.h"
#include "headless_load.h"
#include "render/soft/glyphs/soft_text_primitive.h"
#include "stream/text_conversion.h"
#include "system/services.h"

namespace cva::play_tool {
namespace {

// Every resource of a local document loads within a few polls: more frames mean it is stuck.
constexpr int kMaxLoadFrames = 1000;

}  // namespace

PlaySession::PlaySession(PlayInput& input) : input_(input) {
  if (input.settings.data_inside) {
    data_ = std::make_unique<ArchiveDataSource>(*input.archive);
  } else {
    data_ = std::make_unique<FileDataSource>();
  }
  UseSoftGlyphs(graphics_);
  graphics_.SetThreads(std::max(1, static_cast<int>(std::thread::hardware_concurrency())));
  auto provider = std::make_unique<ComposedProvider>(graphics_, sound_);
  provider->SetDataSource(*data_);
  ClearColourTarget& clear_colour = *this;
  player_ = std::make_unique<Player>(std::move(provider), graphics_, clear_colour);
}

PlaySession::~PlaySession() {
  // The player's documents hold resources of the graphics, the sound and the data source.
  player_.reset();
}

bool PlaySession::Load(std::string& error) {
  const PlayerSettings& settings = input_.settings;
  player_->clock().SetFixedStep(settings.fixed_step ? settings.step : 0);
  if (!input_.directory.empty() && !SystemServices().SetCurrentDirectory(input_.directory)) {
    error = "cannot make '" + input_.directory + "' the current directory";
    return false;
  }
  if (!input_.size_from_stage) graphics_.Resize(settings.width, settings.height);
  // As the Windows player starts its document: the settings' texts as they are stored.
  player_->StartLoad(settings.document_name, settings.start_label);
  const PlaybackHost& host = player_->host();
  for (int i = 0; i < kMaxLoadFrames && !host.document(); ++i) {
    RunFrame();
    const DocumentLoader* loader = host.pending_loader();
    if (loader && loader->state() == LoadableResource::kFailed) break;
  }
  if (!host.document()) {
    error = session::LoadFailure(host);
    if (error.empty()) error = "'" + ToUtf8(settings.document_name) + "' did not load";
    return false;
  }
  // A start label the document lacks has been reported by the player's load listener; as
  // the Windows player does, the document then plays from its start.
  const Document& current = *player_->host().document();
  if (input_.size_from_stage) {
    const ImageSize size = session::StageOf(current.header()).size;
    input_.settings.width = size.width;
    input_.settings.height = size.height;
    // The frame in which the document became current is still cleared (black); the next
    // ones draw at the stage size.
    graphics_.Resize(input_.settings.width, input_.settings.height);
  }
  return true;
}

void PlaySession::RunFrame() {
  graphics_.BeginFrame();
  player_->RunFrame();
  // The frame's draws run now, while every texture they name is still loaded.
  graphics_.Flush();
}

uint32_t PlaySession::document_frame_ms() const {
  const Document* document = player_->host().document();
  return document ? session::StageOf(document->header()).frame_ms : 16;
}

}  // namespace cva::play_tool
