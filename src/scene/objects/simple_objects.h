#pragma once

// Scene object types whose definitions hold little beyond their record: rectangles, embedded
// scenes, sounds, texts, numbers and joints.

#include <memory>
#include <vector>

#include "render/primitives.h"
#include "scene/objects/scene_object.h"

namespace cva {

class MeshObject;
class TextNode;

// Type 1: an untextured rectangle of the record's size.
class RectObject final : public SceneObject {
 public:
  ObjectType TypeCode() const override { return ObjectType::kRect; }
  void Attach(int32_t id, Document& document) override;
  // A RectInstance (none before the object is attached).
  std::unique_ptr<Instance> CreateInstance(SceneNode& node) override;
  bool Load(const ObjectRecord& record) override { return LoadAs(record, record_); }

  const RectRecord& record() const { return record_; }
  SolidQuad* quad() const { return quad_.get(); }

 private:
  RectRecord record_;
  std::unique_ptr<SolidQuad> quad_;
};

// Type 3: shows the scene of a nested document (a resource of the document kind).
class EmbeddedSceneObject final : public SceneObject {
 public:
  ObjectType TypeCode() const override { return ObjectType::kEmbeddedScene; }
  std::unique_ptr<Instance> CreateInstance(SceneNode& node) override;
  bool Load(const ObjectRecord& record) override { return LoadAs(record, record_); }

  const EmbeddedSceneRecord& record() const { return record_; }

 private:
  EmbeddedSceneRecord record_;
};

// Type 4: plays a sound resource.
class SoundObject final : public SceneObject {
 public:
  ObjectType TypeCode() const override { return ObjectType::kSound; }
  std::unique_ptr<Instance> CreateInstance(SceneNode& node) override;
  bool Load(const ObjectRecord& record) override { return LoadAs(record, record_); }

  const SoundRecord& record() const { return record_; }

 private:
  SoundRecord record_;
};

// Type 5: laid-out rich text. The unit quad is scaled to the text's extent when drawn.
class TextObject final : public SceneObject {
 public:
  TextObject();
  ~TextObject() override;
  ObjectType TypeCode() const override { return ObjectType::kText; }
  // Also lays the record's text out with a text primitive of the document's provider.
  void Attach(int32_t id, Document& document) override;
  // A TextInstance (none before the object is attached).
  std::unique_ptr<Instance> CreateInstance(SceneNode& node) override;
  bool Load(const ObjectRecord& record) override { return LoadAs(record, record_); }

  const TextObjectRecord& record() const { return record_; }
  SolidQuad* quad() const { return quad_.get(); }
  // The laid-out text (null before the object is attached).
  TextNode* text_node() const { return text_.get(); }

 private:
  TextObjectRecord record_;
  std::unique_ptr<SolidQuad> quad_;
  std::unique_ptr<TextNode> text_;
};

// Type 6: an integer drawn with image objects as glyphs.
class NumberObject final : public SceneObject {
 public:
  ObjectType TypeCode() const override { return ObjectType::kNumber; }
  std::unique_ptr<Instance> CreateInstance(SceneNode& node) override;
  bool Load(const ObjectRecord& record) override { return LoadAs(record, record_); }

  const NumberRecord& record() const { return record_; }

 private:
  NumberRecord record_;
};

// Type 9: an invisible joint. Meshes link joints into trees; the links point into the same
// object table and own nothing.
class JointObject final : public SceneObject {
 public:
  ObjectType TypeCode() const override { return ObjectType::kJoint; }
  std::unique_ptr<Instance> CreateInstance(SceneNode& node) override;
  bool Load(const ObjectRecord& record) override { return LoadAs(record, record_); }

  const JointRecord& record() const { return record_; }
  // The extent hit tests use.
  Vec2 size() const { return record_.size; }

  MeshObject* owner() const { return owner_; }
  JointObject* parent() const { return parent_; }
  const std::vector<JointObject*>& children() const { return children_; }
  // Whether some mesh has linked this joint already.
  bool linked() const { return owner_ != nullptr; }
  // Records the mesh and appends this joint to `parent`'s children (none for a root joint).
  void LinkTo(MeshObject& owner, JointObject* parent);

 private:
  JointRecord record_;
  MeshObject* owner_ = nullptr;
  JointObject* parent_ = nullptr;
  std::vector<JointObject*> children_;
};

}  // namespace cva
