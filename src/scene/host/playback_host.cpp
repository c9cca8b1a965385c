#include "scene/host/playback_host.h"

#include "document/resource_provider.h"

namespace cva {
namespace {
PlaybackHost* current_host = nullptr;
}  // namespace

PlaybackHost::PlaybackHost(ResourceProvider& provider)
    : base_transform_(provider.CreateTransform()), provider_(provider) {
  base_transform_->SetIdentity();
  current_host = this;
}

PlaybackHost::~PlaybackHost() {
  if (current_host == this) current_host = nullptr;
}

PlaybackHost* PlaybackHost::Current() {
  return current_host;
}

void PlaybackHost::StartLoad(const EncodedText& name, const EncodedText& label) {
  pending_ = std::make_unique<DocumentLoader>(provider_, name);
  start_label_ = label;
  pending_->Start();
}

void PlaybackHost::Advance(float) {
  if (pending_ && pending_->Poll() == LoadableResource::kDone) {
    SwitchToLoadedDocument();
    return;
  }
  // Running the queued label jumps and updating the current scene by dt happen here once the
  // scene tree can be played.
}

void PlaybackHost::SwitchToLoadedDocument() {
  document_.reset();
  document_ = pending_->TakeDocument();
  pending_.reset();
  document_->RequestLabel(document_->label_names().Find(start_label_));
  if (listener_) listener_->DocumentLoaded(*document_);
  // The scene is sought to its current frame here once the scene tree can be played.
}

void PlaybackHost::Clear() {
  pending_.reset();
  document_.reset();
}

}  // namespace cva
