#include "headless_load.h"

#include "document/document_loader.h"
#include "player/player.h"
#include "system/text_codec.h"

namespace cva::session {
namespace {

constexpr int kMaxLoadFrames = 1000;

}  // namespace

EncodedText SettingsText(const std::string& utf8) {
  return EncodedText::FromNarrow(Utf8ToCp932(utf8));
}

bool LoadUntilCurrent(Player& player, const std::string& document, const std::string& label,
                      const std::function<void()>& run_frame) {
  const PlaybackHost& host = player.host();
  player.StartLoad(SettingsText(document), SettingsText(label));
  for (int i = 0; i < kMaxLoadFrames && !host.document(); ++i) {
    run_frame();
    const DocumentLoader* loader = host.pending_loader();
    if (loader && loader->state() == LoadableResource::kFailed) break;
  }
  return host.document() != nullptr;
}

std::string LoadFailure(const PlaybackHost& host) {
  const DocumentLoader* loader = host.pending_loader();
  if (!loader || loader->error().empty()) return {};
  return (loader->error_offset() ? "malformed document: " : "") + loader->error();
}

}  // namespace cva::session
