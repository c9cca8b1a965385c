#pragma once

namespace cva {

class Document;
class Scene;
class SceneNode;

// Implemented by the instance of an embedded scene object (type 3), which shows another
// document's scene inside a node. The pointer pass, the controller pass and controller actions
// reach the nested document through it.
class EmbeddedView {
 public:
  virtual ~EmbeddedView() = default;
  // The nested document shown now, or null while there is none (not loaded or unloaded).
  virtual Document* EmbeddedDocument() const = 0;
  // The scene of that document, or null while there is none.
  virtual Scene* EmbeddedScene() const = 0;
};

// Embedded scenes nested deeper than this are not visited by the pointer and controller
// passes (a guard against documents that show each other in a cycle).
inline constexpr int kMaxEmbeddingDepth = 32;

// The view of a node whose instance shows an embedded scene object, else null.
const EmbeddedView* EmbeddedViewOf(const SceneNode& node);

// The scene such a node shows now: null unless its nested document is there.
Scene* ShownEmbeddedScene(const SceneNode& node);

}  // namespace cva
