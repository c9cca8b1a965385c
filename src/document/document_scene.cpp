// The seam between a document and its scene content.
#include "document/document.h"

namespace cva {

// HOOK (scene objects and scene tree): the object and node records are read and kept in the
// document's file, but the runtime objects are not built here yet. When the object factory
// (src/scene/objects) and the scene node classes (src/scene) exist, this creates each object
// from file_.objects through the factory, attaches it to this document and inserts it into
// the object table, lets type-8 objects link, creates the root node from file_.root, and
// runs the second link step of type-8 objects.
bool Document::BuildObjectsAndScene(std::string&) {
  return true;
}

// HOOK (image objects): every image object clears its resolved image and marks its image
// reference for resolving again, once the object table exists.
void Document::ResourcesReady() {}

}  // namespace cva
