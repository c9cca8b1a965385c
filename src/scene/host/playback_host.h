#pragma once

#include <memory>

#include "document/document.h"
#include "document/document_loader.h"
#include "render/primitives.h"
#include "scene/host/load_listener.h"
#include "scene/scene.h"
#include "stream/encoded_text.h"

namespace cva {

class DrawState;
class InputState;
class ResourceProvider;
class SceneLabelListener;

// Owns the document being played and the loader of the next one. A new document keeps
// loading while the current one plays and replaces it once it is done.
class PlaybackHost {
 public:
  explicit PlaybackHost(ResourceProvider& provider);
  ~PlaybackHost();
  PlaybackHost(const PlaybackHost&) = delete;
  PlaybackHost& operator=(const PlaybackHost&) = delete;

  // The most recently constructed host, or null once it is destroyed.
  static PlaybackHost* Current();

  // Replaces any pending load by a load of `name`; the document starts at `label` (a label
  // name) once it is done.
  void StartLoad(const EncodedText& name, const EncodedText& label);
  // One frame tick of `dt` milliseconds. Polls the pending loader; when it is done, its
  // document becomes current: its start label is requested, the load listener is told and
  // its scene is sought, and nothing else happens in this tick. Otherwise the current scene
  // runs its queued label jumps and is updated by `dt` on the base transform.
  void Advance(float dt);
  // Draws the current scene with the draw state (nothing without a current document or
  // without a draw state).
  void Draw();
  // Drops the current document and any pending load.
  void Clear();

  Document* document() const { return document_.get(); }
  // The scene of the current document, or null while there is none.
  Scene* scene() const { return scene_.get(); }
  // The loader of the document requested last, while it has not become current (a failed
  // loader stays pending).
  DocumentLoader* pending_loader() const { return pending_.get(); }
  const EncodedText& start_label() const { return start_label_; }
  ResourceProvider& provider() const { return provider_; }
  // The parent transform of every scene root (identity).
  Transform& base_transform() const { return *base_transform_; }
  void set_load_listener(LoadListener* listener) { listener_ = listener; }
  // The player's draw state (not owned; null: Draw draws nothing).
  DrawState* draw_state() const { return draw_state_; }
  void set_draw_state(DrawState* state) { draw_state_ = state; }
  // The player's input state (not owned), read by the frame step.
  InputState* input_state() const { return input_; }
  void set_input_state(InputState* input) { input_ = input; }
  // Told of every label jump of the current scene and of the scenes made current later.
  void set_label_listener(SceneLabelListener* listener);

 private:
  void SwitchToLoadedDocument();

  std::unique_ptr<DocumentLoader> pending_;
  std::unique_ptr<Transform> base_transform_;
  std::unique_ptr<Document> document_;
  std::unique_ptr<Scene> scene_;  // plays document_; declared after it so it goes first
  EncodedText start_label_;
  ResourceProvider& provider_;
  LoadListener* listener_ = nullptr;
  DrawState* draw_state_ = nullptr;
  InputState* input_ = nullptr;
  SceneLabelListener* label_listener_ = nullptr;
};

}  // namespace cva
