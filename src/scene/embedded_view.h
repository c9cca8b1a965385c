#pragma once

namespace cva {

class Document;
class Scene;

// Implemented by the instance of an embedded scene object (type 3), which shows another
// document's scene inside a node. The pointer pass, the controller pass and controller actions
// reach the nested document through it (found with dynamic_cast on the node's instance).
class EmbeddedView {
 public:
  virtual ~EmbeddedView() = default;
  // The nested document shown now, or null while there is none (not loaded or unloaded).
  virtual Document* EmbeddedDocument() const = 0;
  // The scene of that document, or null while there is none.
  virtual Scene* EmbeddedScene() const = 0;
};

}  // namespace cva
