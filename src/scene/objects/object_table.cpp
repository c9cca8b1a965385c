#include "scene/objects/object_table.h"

#include "scene/objects/mesh_object.h"
#include "scene/objects/object_factory.h"
#include "scene/objects/textured_objects.h"

namespace cva {

bool ObjectTable::Add(std::unique_ptr<SceneObject> object) {
  if (!object) return false;
  const int32_t id = object->id();
  return objects_.emplace(id, std::move(object)).second;
}

SceneObject* ObjectTable::Find(int32_t id) const {
  auto it = objects_.find(id);
  return it == objects_.end() ? nullptr : it->second.get();
}

bool BuildObjectTable(const CountedList<ObjectEntry>& entries, Document& document,
                      ObjectTable& table, std::string& error) {
  table.Clear();
  for (const ObjectEntry& entry : entries) {
    std::unique_ptr<SceneObject> object = CreateSceneObject(entry);
    if (!object) {
      error = "unknown object type code " + std::to_string(entry.type);
      return false;
    }
    object->Attach(object->id(), document);
    table.Add(std::move(object));
  }
  LinkMeshJoints(table);
  return true;
}

void LinkMeshJoints(ObjectTable& table) {
  for (const auto& [id, object] : table)
    if (object->TypeCode() == ObjectType::kMesh)
      static_cast<MeshObject&>(*object).LinkJoints(table);
}

void CompleteMeshLinks(ObjectTable& table) {
  for (const auto& [id, object] : table)
    if (object->TypeCode() == ObjectType::kMesh) static_cast<MeshObject&>(*object).RebuildMesh();
}

void InvalidateImageObjects(ObjectTable& table) {
  for (const auto& [id, object] : table)
    if (object->TypeCode() == ObjectType::kImage)
      static_cast<ImageObject&>(*object).InvalidateImage();
}

}  // namespace cva
