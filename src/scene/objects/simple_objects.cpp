#include "scene/objects/simple_objects.h"

#include "document/resource_provider.h"
#include "scene/objects/rect_instance.h"

namespace cva {

void RectObject::Attach(int32_t id, Document& document) {
  SceneObject::Attach(id, document);
  quad_ = provider().CreateSolidQuad();
  if (quad_) quad_->SetSize(record_.size);
}

std::unique_ptr<Instance> RectObject::CreateInstance(SceneNode& node) {
  if (!document_) return nullptr;
  return std::make_unique<RectInstance>(*this, node);
}

void TextObject::Attach(int32_t id, Document& document) {
  SceneObject::Attach(id, document);
  quad_ = provider().CreateSolidQuad();
  if (quad_) quad_->SetSize({1.0f, 1.0f});
}

void JointObject::LinkTo(MeshObject& owner, JointObject* parent) {
  owner_ = &owner;
  parent_ = parent;
  if (parent) parent->children_.push_back(this);
}

}  // namespace cva
