#include "headless_load.h"

#include "capturing_services.h"
#include "document/document.h"
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

bool StartAtLabel(Player& player, CapturingServices& services, const std::string& document,
                  const std::string& label, const std::function<void()>& run_frame,
                  std::string& error) {
  const PlaybackHost& host = player.host();
  if (!LoadUntilCurrent(player, document, label, run_frame)) {
    for (const CapturedMessage& m : services.TakeMessages()) error += m.Describe() + "\n";
    const std::string failure = LoadFailure(host);
    error += failure.empty() ? "the document did not finish loading" : failure;
    return false;
  }
  if (host.document()->label_names().Find(SettingsText(label)) == -1) {
    error = "start label '" + label + "' not found";
    return false;
  }
  return true;
}

}  // namespace cva::session
