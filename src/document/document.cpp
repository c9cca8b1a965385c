#include "document/document.h"

#include <algorithm>

#include "document/document_loader.h"
#include "document/resource_provider.h"
#include "render/image_resource.h"
#include "scene/scene_node.h"
#include "sound/sound_resource.h"

namespace cva {

Document::Document(EncodedText name, ResourceProvider& provider)
    : name_(std::move(name)), provider_(provider) {}

Document::~Document() {
  OrphanCopies();
  Detach();
}

std::unique_ptr<Document> Document::PlaybackCopy(Document& source, std::string& error) {
  if (source.source_) return PlaybackCopy(*source.source_, error);
  if (source.orphaned_) {
    error = "the document was unloaded";
    return nullptr;
  }
  auto copy = std::make_unique<Document>(source.name_, source.provider_);
  copy->source_ = &source;
  source.copies_.push_back(copy.get());
  for (const auto& [id, variable] : source.variables_) copy->variables_.Add(id, variable);
  if (!copy->BuildSceneCopy(error)) return nullptr;
  return copy;
}

void Document::Orphan() {
  keyframes_.Clear();
  root_.reset();
  queued_labels_.clear();
  source_ = nullptr;
  orphaned_ = true;
}

void Document::OrphanCopies() {
  const std::vector<Document*> copies = std::move(copies_);
  copies_.clear();
  for (Document* copy : copies) copy->Orphan();
}

void Document::Detach() {
  if (!source_) return;
  std::erase(source_->copies_, this);
  source_ = nullptr;
}

bool Document::Build(DocumentFile file, const DocumentNesting& nesting, std::string& error) {
  Clear();
  file_ = std::move(file);
  if (!file_.recognised()) return true;  // another magic or version: an empty document

  for (const VariableRecord& record : file_.variables)
    variables_.Add(record.id, Variable::FromRecord(record));
  if (file_.header.property_list.on()) {
    property_list_ = std::make_unique<PropertyList>();
    for (const PropertyListEntry& record : file_.properties)
      property_list_->push_back({record.key.Decoded(), record.value.Decoded()});
  }
  BuildResources(nesting);
  for (const LabelNameRecord& record : file_.label_names)
    label_names_.Add(record.id, record.name.Decoded());
  return BuildObjectsAndScene(error);
}

void Document::BuildResources(const DocumentNesting& nesting) {
  for (const ResourceRecord& record : file_.resources) {
    // The first entry of an identifier wins; later ones are not even created, so a
    // duplicate sound does not open its file.
    if (resources_.Contains(record.id)) continue;
    const EncodedText name = record.name.Decoded();
    std::unique_ptr<LoadableResource> resource;
    switch (static_cast<ResourceKind>(record.kind)) {
      case ResourceKind::kImage:
        resource = provider_.CreateImageResource(name);
        break;
      case ResourceKind::kSound:
        // Null when the file is missing (the provider has said so): the entry is left out.
        resource = provider_.CreateSoundResource(name);
        break;
      case ResourceKind::kDocument:
        resource = std::make_unique<DocumentLoader>(provider_, name, nesting.Inside(name_));
        break;
    }
    if (!resource) continue;
    resource->set_load_flag(record.load.on());
    if (resource->Kind() == ResourceKind::kSound) resource->LoadDirectly();
    resources_.Add(record.id, std::move(resource));
  }
}

void Document::Clear() {
  OrphanCopies();
  keyframes_.Clear();
  root_.reset();
  objects_.Clear();
  file_ = DocumentFile();
  variables_.Clear();
  property_list_.reset();
  resources_.Clear();
  label_names_.Clear();
  queued_labels_.clear();
  Detach();
}

void Document::RequestLabel(int32_t label) {
  if (label == -1) return;
  if (std::find(queued_labels_.begin(), queued_labels_.end(), label) != queued_labels_.end())
    return;
  queued_labels_.push_back(label);
}

}  // namespace cva
