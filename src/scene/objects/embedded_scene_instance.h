#pragma once

#include <memory>

#include "render/primitives.h"
#include "scene/embedded_view.h"
#include "scene/instance.h"

namespace cva {

class DocumentLoader;
class EmbeddedSceneObject;
class SceneNode;

// Another document's scene played inside a node. Adds properties 15 (the label at which the
// embedded scene restarts) and 16 (0 loads the document, 1 unloads it) to the node. Once the
// referenced document has loaded, the instance plays a playback copy of it (Document::
// PlaybackCopy) with a clock of its own, placed by the node's world matrix and tinted by the
// node's colour, over a background quad of the embedded stage.
class EmbeddedSceneInstance final : public Instance, public EmbeddedView {
 public:
  // The extent reported while no embedded document is shown: the stage size of a document
  // header at its defaults.
  static constexpr Vec2 kDefaultSize{200.0f, 200.0f};

  EmbeddedSceneInstance(EmbeddedSceneObject& object, SceneNode& node);
  ~EmbeddedSceneInstance() override;

  SceneObject& Definition() const override;
  // The embedded document's stage size, or kDefaultSize while there is none.
  Vec2 Size() const override;
  // Puts the embedded clock back to 0 and re-runs the embedded scene there.
  void Reset() override;
  // The background quad and the embedded scene's draw list, once it has a current label.
  void Draw() override;
  // Loads or unloads by property 16, makes the playback copy once the document is loaded,
  // restarts at property 15's label or else advances the embedded scene by `dt`.
  void Update(float dt) override;

  Document* EmbeddedDocument() const override;
  Scene* EmbeddedScene() const override;

 private:
  // The object's nested document resource when it exists and is a document.
  DocumentLoader* Resource() const;
  // Drops the copy when its source went away (unloaded through another node).
  void DropOrphan();
  void DropCopy();

  EmbeddedSceneObject& object_;
  SceneNode& node_;
  std::unique_ptr<SolidQuad> background_;
  Vec2 background_size_;  // the size the background quad was last given
  std::unique_ptr<Document> copy_;
  std::unique_ptr<Scene> scene_;  // plays copy_; declared after it so that it goes first
};

}  // namespace cva
