#include "scene/objects/scene_object.h"

#include "document/document.h"

namespace cva {

SceneObject::~SceneObject() = default;

void SceneObject::Attach(int32_t id, Document& document) {
  id_ = id;
  document_ = &document;
}

std::unique_ptr<Instance> SceneObject::CreateInstance(SceneNode&) {
  return nullptr;
}

ResourceProvider& SceneObject::provider() const {
  return document_->provider();
}

}  // namespace cva
