#include "scene/objects/simple_objects.h"

#include "document/resource_provider.h"
#include "scene/objects/embedded_scene_instance.h"
#include "scene/objects/joint_instance.h"
#include "scene/objects/number_instance.h"
#include "scene/objects/rect_instance.h"
#include "scene/objects/sound_instance.h"
#include "scene/objects/text_instance.h"
#include "scene/text/text_node.h"

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

TextObject::TextObject() = default;
TextObject::~TextObject() = default;

std::unique_ptr<Instance> EmbeddedSceneObject::CreateInstance(SceneNode& node) {
  if (!document_) return nullptr;
  return std::make_unique<EmbeddedSceneInstance>(*this, node);
}

std::unique_ptr<Instance> SoundObject::CreateInstance(SceneNode& node) {
  if (!document_) return nullptr;
  return std::make_unique<SoundInstance>(*this, node);
}

std::unique_ptr<Instance> NumberObject::CreateInstance(SceneNode& node) {
  if (!document_) return nullptr;
  return std::make_unique<NumberInstance>(*this, node);
}

std::unique_ptr<Instance> JointObject::CreateInstance(SceneNode&) {
  return std::make_unique<JointInstance>(*this);
}

void TextObject::Attach(int32_t id, Document& document) {
  SceneObject::Attach(id, document);
  quad_ = provider().CreateSolidQuad();
  if (quad_) quad_->SetSize({1.0f, 1.0f});
  // Documents carry no table of named texts, so references to one lay out nothing.
  text_ =
      std::make_unique<TextNode>(provider().CreateTextPrimitive(), provider().CreateTransform());
  text_->Layout(record_.text);
}

std::unique_ptr<Instance> TextObject::CreateInstance(SceneNode& node) {
  if (!document_ || !text_) return nullptr;
  return std::make_unique<TextInstance>(*this, node);
}

void JointObject::LinkTo(MeshObject& owner, JointObject* parent) {
  owner_ = &owner;
  parent_ = parent;
  if (parent) parent->children_.push_back(this);
}

}  // namespace cva
