#include "scene/objects/embedded_scene_instance.h"

#include <string>

#include "document/document.h"
#include "document/document_loader.h"
#include "document/resource_provider.h"
#include "scene/host/playback_host.h"
#include "scene/objects/simple_objects.h"
#include "scene/property_record.h"
#include "scene/property_value.h"
#include "scene/scene.h"
#include "scene/scene_node.h"

namespace cva {
namespace {

constexpr uint8_t kLoad = 0;
constexpr uint8_t kUnload = 1;

bool ReachedKey(const DisplayNode& display, int index) {
  const PropertyTrack* track = display.track(index);
  return track && track->passed_key();
}

}  // namespace

EmbeddedSceneInstance::EmbeddedSceneInstance(EmbeddedSceneObject& object, SceneNode& node)
    : object_(object), node_(node), background_(object.document()->provider().CreateSolidQuad()) {
  node_.display().AddProperty(kSceneLabelProperty);
  node_.display().AddProperty(kSceneLoadProperty);
}

EmbeddedSceneInstance::~EmbeddedSceneInstance() = default;

SceneObject& EmbeddedSceneInstance::Definition() const {
  return object_;
}

Document* EmbeddedSceneInstance::EmbeddedDocument() const {
  return copy_ && !copy_->orphaned() ? copy_.get() : nullptr;
}

Scene* EmbeddedSceneInstance::EmbeddedScene() const {
  return EmbeddedDocument() ? scene_.get() : nullptr;
}

Vec2 EmbeddedSceneInstance::Size() const {
  const Document* document = EmbeddedDocument();
  if (!document) return kDefaultSize;
  return {document->header().stage_width, document->header().stage_height};
}

DocumentLoader* EmbeddedSceneInstance::Resource() const {
  Document* host = object_.document();
  if (!host) return nullptr;
  LoadableResource* resource = host->resources().Find(object_.record().document);
  if (!resource || resource->Kind() != ResourceKind::kDocument) return nullptr;
  return static_cast<DocumentLoader*>(resource);
}

void EmbeddedSceneInstance::DropCopy() {
  scene_.reset();
  copy_.reset();
}

void EmbeddedSceneInstance::DropOrphan() {
  if (copy_ && copy_->orphaned()) DropCopy();
}

void EmbeddedSceneInstance::Reset() {
  DropOrphan();
  if (!scene_) return;
  scene_->RestartClock();
  scene_->Seek(node_.display().world());
}

void EmbeddedSceneInstance::Update(float dt) {
  DropOrphan();
  const DisplayNode& display = node_.display();
  if (ReachedKey(display, kSceneLoadProperty)) {
    const auto* load = FieldsOf<kSceneLoadProperty>(display.holder(kSceneLoadProperty));
    DocumentLoader* resource = Resource();
    if (load && resource) {
      if (load->value == kLoad && !copy_) {
        // Also starts a document that is idle or failed (not flagged to load with its parent).
        resource->Start();
      } else if (load->value == kUnload) {
        DropCopy();
        resource->Unload();
      }
    }
  }
  if (!copy_) {
    DocumentLoader* resource = Resource();
    if (!resource) return;
    // A document started here (not with its parent) has no other poller once the parent is
    // done, so the instance polls it until it is ready.
    const LoadableResource::State state = resource->state();
    if (state == LoadableResource::kRequested || state == LoadableResource::kFetched)
      resource->Poll();
    if (!resource->done() || !resource->document()) return;
    std::string error;
    copy_ = Document::PlaybackCopy(*resource->document(), error);
    if (!copy_) return;
    scene_ = std::make_unique<Scene>(*copy_);
  }
  if (SceneNode* root = copy_->root()) root->display().colour = display.colour;
  if (ReachedKey(display, kSceneLabelProperty)) {
    const auto* label = FieldsOf<kSceneLabelProperty>(display.holder(kSceneLabelProperty));
    const int32_t id = label ? copy_->label_names().Find(label->label.Decoded()) : -1;
    scene_->GotoLabel(id);
    scene_->RestartClock();
    scene_->Seek(display.world());
  } else {
    scene_->RunQueuedJumps();
    scene_->Update(dt, display.world());
  }
}

void EmbeddedSceneInstance::Draw() {
  DropOrphan();
  if (!copy_ || scene_->current_label() == -1) return;
  const DisplayNode& display = node_.display();
  const DocumentHeader& header = copy_->header();
  if (background_) {
    const Vec2 stage{header.stage_width, header.stage_height};
    // Sized only when the stage changes, so a steady scene rewrites no vertices.
    if (!(stage == background_size_)) {
      background_->SetSize(stage);
      background_size_ = stage;
    }
    background_->Draw(display.world(), header.background.Modulated(display.colour));
  }
  // The embedded nodes' transforms were combined with this node's world matrix by Update in
  // this frame, after the node's own transform, so they are current.
  PlaybackHost* host = PlaybackHost::Current();
  if (host && host->draw_state()) {
    scene_->Draw(*host->draw_state());
    return;
  }
  // Without a draw state the embedded nodes draw in order, in the modes already set.
  for (SceneNode* node : scene_->DrawOrder()) {
    if (node->instance() && node->display().visibility != DisplayNode::kNotDrawn)
      node->instance()->Draw();
  }
}

}  // namespace cva
