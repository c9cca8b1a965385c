#pragma once

#include <cstdint>
#include <memory>

#include "scene/instance.h"
#include "scene/object_record.h"

namespace cva {

class Document;
class ResourceProvider;
class SceneNode;

// A scene object definition: one entry of a document's object table, built from its stored
// record, which it keeps. Scene nodes ask it for instances that they show on the stage.
// Types that draw own the primitives Attach asks the document's provider for.
class SceneObject {
 public:
  SceneObject() = default;
  virtual ~SceneObject();
  SceneObject(const SceneObject&) = delete;
  SceneObject& operator=(const SceneObject&) = delete;

  // The object's type code (1 to 11).
  virtual ObjectType TypeCode() const = 0;
  // Stores the id and the owning document; drawable types then create their primitives
  // through the document's provider (replacing any created by an earlier Attach).
  virtual void Attach(int32_t id, Document& document);
  // The per-placement instance a scene node shows for this object. Instances are built by
  // the object types as they gain them; a type without one yet gives none, and the node then
  // shows nothing.
  virtual std::unique_ptr<Instance> CreateInstance(SceneNode& node);
  // Takes the object's values from a record of its own type (the id included). Returns false,
  // changing nothing, when the record belongs to another type.
  virtual bool Load(const ObjectRecord& record) = 0;

  int32_t id() const { return id_; }
  Document* document() const { return document_; }

 protected:
  // The document's provider; only valid once attached.
  ResourceProvider& provider() const;
  // The shared part of Load: copies the record when it is of type R and takes its id.
  template <class R>
  bool LoadAs(const ObjectRecord& record, R& target) {
    const R* r = std::get_if<R>(&record);
    if (!r) return false;
    target = *r;
    id_ = r->id;
    return true;
  }

  int32_t id_ = -1;
  Document* document_ = nullptr;
};

}  // namespace cva
