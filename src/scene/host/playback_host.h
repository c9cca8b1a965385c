#pragma once

#include <memory>

#include "document/document.h"
#include "document/document_loader.h"
#include "render/primitives.h"
#include "scene/host/load_listener.h"
#include "stream/encoded_text.h"

namespace cva {

class ResourceProvider;

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
  // document becomes current (and nothing else happens in this tick).
  void Advance(float dt);
  // Drops the current document and any pending load.
  void Clear();

  Document* document() const { return document_.get(); }
  // The loader of the document requested last, while it has not become current (a failed
  // loader stays pending).
  DocumentLoader* pending_loader() const { return pending_.get(); }
  const EncodedText& start_label() const { return start_label_; }
  ResourceProvider& provider() const { return provider_; }
  // The parent transform of every scene root (identity).
  Transform& base_transform() const { return *base_transform_; }
  void set_load_listener(LoadListener* listener) { listener_ = listener; }

 private:
  void SwitchToLoadedDocument();

  std::unique_ptr<DocumentLoader> pending_;
  std::unique_ptr<Transform> base_transform_;
  std::unique_ptr<Document> document_;
  EncodedText start_label_;
  ResourceProvider& provider_;
  LoadListener* listener_ = nullptr;
};

}  // namespace cva
