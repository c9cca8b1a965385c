// The seam between a document and its scene content.
#include "document/document.h"
#include "scene/scene_tree_builder.h"

namespace cva {

bool Document::BuildObjectsAndScene(std::string& error) {
  // HOOK (scene objects): once the object factory exists, each entry of file_.objects becomes
  // an object here (created from its type code, attached to this document, inserted into the
  // object table), then type-8 objects link; the scene tree below then creates instances
  // through the object table, and type-8 objects run their second link step after it.
  SceneTreeSources sources{provider_, &keyframes_, {}};
  root_ = BuildSceneTree(file_.root, sources, error);
  return root_ != nullptr;
}

// HOOK (image objects): once the object table exists, every image object clears its resolved
// image here and marks its image reference for resolving again.
void Document::ResourcesReady() {}

}  // namespace cva
