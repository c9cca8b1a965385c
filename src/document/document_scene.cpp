// The seam between a document and its scene content: objects and the scene tree.
#include "document/document.h"
#include "scene/scene_node.h"
#include "scene/scene_tree_builder.h"

namespace cva {

bool Document::BuildObjectsAndScene(std::string& error) {
  // Creates every object through the factory, attaches it and lets meshes link their joints.
  if (!BuildObjectTable(file_.objects, *this, objects_, error)) return false;
  SceneTreeSources sources{provider_, &keyframes_,
                           [this](int16_t object_id, SceneNode& node) -> std::unique_ptr<Instance> {
                             SceneObject* object = objects_.Find(object_id);
                             return object ? object->CreateInstance(node) : nullptr;
                           }};
  root_ = BuildSceneTree(file_.root, sources, error);
  if (!root_) return false;
  CompleteMeshLinks(objects_);
  return true;
}

bool Document::BuildSceneCopy(std::string& error) {
  ObjectTable& objects = source_->objects_;
  SceneTreeSources sources{
      provider_, &keyframes_,
      [&objects](int16_t object_id, SceneNode& node) -> std::unique_ptr<Instance> {
        SceneObject* object = objects.Find(object_id);
        return object ? object->CreateInstance(node) : nullptr;
      }};
  root_ = BuildSceneTree(source_->file_.root, sources, error);
  return root_ != nullptr;
}

void Document::ResourcesReady() {
  InvalidateImageObjects(objects_);
}

}  // namespace cva
