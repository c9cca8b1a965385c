#include "scene/host/playback_host.h"

#include "document/resource_provider.h"
#include "scene/cell_budget.h"

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

void PlaybackHost::Advance(float dt) {
  if (pending_ && pending_->Poll() == LoadableResource::kDone) {
    SwitchToLoadedDocument();
    return;
  }
  if (scene_) {
    scene_->RunQueuedJumps();
    scene_->Update(dt, *base_transform_);
  }
}

void PlaybackHost::Draw() {
  CellBudget::Refill();
  if (scene_ && draw_state_) scene_->Draw(*draw_state_);
}

void PlaybackHost::set_label_listener(SceneLabelListener* listener) {
  label_listener_ = listener;
  if (scene_) scene_->set_label_listener(listener);
}

void PlaybackHost::SwitchToLoadedDocument() {
  scene_.reset();
  document_.reset();
  document_ = pending_->TakeDocument();
  pending_.reset();
  if (!document_) return;
  scene_ = std::make_unique<Scene>(*document_);
  scene_->set_label_listener(label_listener_);
  scene_->RequestLabel(document_->label_names().Find(start_label_));
  if (listener_) listener_->DocumentLoaded(*document_);
  scene_->Seek(*base_transform_);
}

void PlaybackHost::Clear() {
  pending_.reset();
  scene_.reset();
  document_.reset();
}

}  // namespace cva
