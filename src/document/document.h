#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "document/document_file.h"
#include "document/document_header.h"
#include "document/document_nesting.h"
#include "document/label_name_table.h"
#include "document/property_list.h"
#include "document/resource_table.h"
#include "document/variable_table.h"
#include "scene/keyframe_table.h"
#include "scene/objects/object_table.h"
#include "stream/encoded_text.h"

namespace cva {

class ResourceProvider;
class SceneNode;

// One loaded animation document: its header and tables, built from the stored records,
// which it keeps so that tools can write the document back.
//
// A playback copy (an embedded scene plays one) owns a scene tree built anew from the
// source's records, copies of the source's variables, its own keyframe table and jump queue,
// and shares the header, the records, the property list and the resource, object and
// label-name tables with its source, which alone owns them. When the source is cleared or
// destroyed first, its copies lose their scene tree and become orphaned, so that nothing
// refers to the objects that went with the source.
class Document {
 public:
  Document(EncodedText name, ResourceProvider& provider);
  ~Document();
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  // A playback copy of `source` (of the document `source` was copied from, when it is a copy
  // itself). Null with the reason in `error` when its scene tree cannot be built.
  static std::unique_ptr<Document> PlaybackCopy(Document& source, std::string& error);
  // The document whose tables a copy shares; null for a document that is not a copy and
  // for an orphaned copy.
  const Document* source() const { return source_; }
  // Set once the source of this copy was cleared or destroyed; the copy then has no scene.
  bool orphaned() const { return orphaned_; }
  // The live playback copies of this document.
  const std::vector<Document*>& copies() const { return copies_; }

  // Builds the tables from a file that was read without error. Resources are created through
  // the provider (sounds open at once); loaders of nested documents are placed inside this
  // document's `nesting`. Returns false with the reason when the records cannot be turned
  // into a document.
  bool Build(DocumentFile file, const DocumentNesting& nesting, std::string& error);
  // Empties every table and puts the header back to its defaults.
  void Clear();

  const EncodedText& name() const { return name_; }
  ResourceProvider& provider() const { return provider_; }
  const DocumentHeader& header() const { return Shared().file_.header; }
  const DocumentFile& file() const { return Shared().file_; }
  VariableTable& variables() { return variables_; }
  const VariableTable& variables() const { return variables_; }
  // Null when the file had no property list section.
  const PropertyList* property_list() const { return Shared().property_list_.get(); }
  ResourceTable& resources() { return source_ ? source_->resources_ : resources_; }
  const ResourceTable& resources() const { return Shared().resources_; }
  const LabelNameTable& label_names() const { return Shared().label_names_; }
  const ObjectTable& objects() const { return Shared().objects_; }
  // The root of the scene tree (null for an empty document).
  SceneNode* root() const { return root_.get(); }
  // Keyframes with a label index, filled while the scene tree is built.
  KeyframeTable& keyframes() { return keyframes_; }

  // Queues a jump to `label` for the next tick; -1 and labels already queued are ignored.
  void RequestLabel(int32_t label);
  const std::vector<int32_t>& queued_labels() const { return queued_labels_; }
  std::vector<int32_t> TakeQueuedLabels() { return std::move(queued_labels_); }

  // Called once every started resource is done: image objects resolve their image
  // references again against the loaded resources.
  void ResourcesReady();

 private:
  // The document whose shared tables this one uses: the source of a copy, else itself.
  const Document& Shared() const { return source_ ? *source_ : *this; }
  void BuildResources(const DocumentNesting& nesting);
  // Builds a copy's scene tree from the source's root record with instances of the source's
  // objects (document_scene.cpp).
  bool BuildSceneCopy(std::string& error);
  // Drops the scene tree of this copy, which can no longer use its source's tables.
  void Orphan();
  // Orphans every copy made of this document.
  void OrphanCopies();
  // Stops sharing the source's tables (the copy is cleared or destroyed).
  void Detach();

  // Creates the scene objects through the object factory and the scene tree from the root
  // node record. Lives in document_scene.cpp, the one place that knows the scene classes.
  bool BuildObjectsAndScene(std::string& error);

  EncodedText name_;
  ResourceProvider& provider_;
  DocumentFile file_;
  VariableTable variables_;
  std::unique_ptr<PropertyList> property_list_;
  ResourceTable resources_;
  LabelNameTable label_names_;
  std::vector<int32_t> queued_labels_;
  ObjectTable objects_;
  std::unique_ptr<SceneNode> root_;  // its instances refer to objects_
  KeyframeTable keyframes_;          // points into root_'s motions
  Document* source_ = nullptr;       // the source of a copy
  std::vector<Document*> copies_;    // the live copies of this document
  bool orphaned_ = false;
};

}  // namespace cva
