#include "converter/document_reload.h"

#include "document/document_loader.h"
#include "scene/host/playback_host.h"
#include "system/services.h"

namespace cva {
namespace {

// Every file of a headless load arrives within a few polls; far more means a stuck loader.
constexpr int kMaxSteps = 10000;

// Truncation toward zero; a size no integer holds (or not a number) gives 0.
int32_t Truncate(float value) {
  return value > -2147483648.0f && value < 2147483648.0f ? static_cast<int32_t>(value) : 0;
}

}  // namespace

ReloadedDocument ReloadDocument(PlaybackHost& host, PackList& pack_list,
                                const std::string& directory, const EncodedText& name) {
  host.Clear();
  pack_list.Clear();
  ReloadedDocument result;
  if (!directory.empty() && !SystemServices().SetCurrentDirectory(directory)) {
    result.failure = "cannot enter the document's directory";
    return result;
  }
  host.StartLoad(name, EncodedText());
  for (int i = 0; i < kMaxSteps && !host.document(); ++i) {
    const DocumentLoader* loader = host.pending_loader();
    if (!loader || loader->state() == LoadableResource::kFailed) break;
    host.Advance(0);
  }
  const Document* document = host.document();
  if (!document) {
    const DocumentLoader* loader = host.pending_loader();
    result.failure = loader && !loader->error().empty() ? loader->error() : "it cannot be read";
    return result;
  }
  result.loaded = true;
  for (const auto& [id, label] : document->label_names()) result.labels.push_back(label);
  result.width = Truncate(document->header().stage_width);
  result.height = Truncate(document->header().stage_height);
  result.encoding = document->header().byte_d;
  pack_list.set_document_encoding(result.encoding);
  return result;
}

}  // namespace cva
