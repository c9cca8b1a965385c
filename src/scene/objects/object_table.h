#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "scene/object_record.h"
#include "scene/objects/scene_object.h"
#include "stream/record_fields.h"

namespace cva {

class Document;

// A document's scene objects keyed by id, in id order. The table owns them.
class ObjectTable {
 public:
  // Adds the object under its id unless the id is taken: the first object of an id wins,
  // as in the document's other tables. Returns whether it was added.
  bool Add(std::unique_ptr<SceneObject> object);
  SceneObject* Find(int32_t id) const;
  size_t size() const { return objects_.size(); }
  void Clear() { objects_.clear(); }

  auto begin() const { return objects_.begin(); }
  auto end() const { return objects_.end(); }

 private:
  std::map<int32_t, std::unique_ptr<SceneObject>> objects_;
};

// Fills `table` (emptied first) from the objects section: every entry becomes a definition
// through the factory, is attached to `document` and added under its id; then the meshes link
// their joint trees (LinkMeshJoints). Returns false with the reason in `error` when an entry
// names no object type (only possible for entries that were not read from a file, as reading
// already refuses unknown codes).
bool BuildObjectTable(const CountedList<ObjectEntry>& entries, Document& document,
                      ObjectTable& table, std::string& error);

// First link step of meshes, after the objects section: every mesh that still holds its joint
// tree resolves it, in id order. Each tree node's id is looked up in the table; the joint found
// records the mesh as its owner and becomes a child of the joint of the parent tree node (the
// joint of the root node is the mesh's root joint). A node whose id names no joint object,
// or a joint that is linked already, is skipped together with its subtree.
void LinkMeshJoints(ObjectTable& table);

// Second link step, after the scene tree has been built: every mesh builds its primitive anew.
void CompleteMeshLinks(ObjectTable& table);

// After the document's resources have loaded: image objects look their image up again.
void InvalidateImageObjects(ObjectTable& table);

}  // namespace cva
