#include "document/document_loader.h"

#include "document/document_file.h"
#include "stream/buffer_reader.h"
#include "stream/read_visitor.h"
#include "stream/text_conversion.h"

namespace cva {
namespace {

// Two names denote the same document when their stored forms or their narrow file names
// are equal.
bool SameDocument(const EncodedText& a, const EncodedText& b) {
  if (a == b) return true;
  const std::string narrow_a = ToNarrow(a);
  return !narrow_a.empty() && narrow_a == ToNarrow(b);
}

std::string Quoted(const EncodedText& name) {
  return "'" + ToUtf8(name) + "'";
}

}  // namespace

DocumentLoader::DocumentLoader(ResourceProvider& provider, EncodedText name,
                               DocumentNesting nesting)
    : LoadableResource(provider, std::move(name)), nesting_(std::move(nesting)) {
  if (!nesting_.parsed_documents) nesting_.parsed_documents = std::make_shared<uint32_t>(0);
}

DocumentLoader::~DocumentLoader() {
  DropDocument();
}

void DocumentLoader::DropDocument() {
  if (!document_) return;
  document_.reset();
  --*nesting_.parsed_documents;
}

LoadableResource::State DocumentLoader::Start() {
  if (state() != kIdle && state() != kFailed) return state();
  error_.clear();
  error_offset_.reset();
  for (const EncodedText& ancestor : nesting_.ancestors) {
    if (SameDocument(ancestor, name())) {
      error_ = "document " + Quoted(name()) + " contains itself";
      MarkFailed();
      return state();
    }
  }
  if (nesting_.ancestors.size() >= kMaxNesting) {
    error_ = "documents nested deeper than " + std::to_string(kMaxNesting) + " levels at " +
             Quoted(name());
    MarkFailed();
    return state();
  }
  if (LoadableResource::Start() == kFailed) error_ = "cannot open " + Quoted(name());
  return state();
}

std::unique_ptr<Document> DocumentLoader::TakeDocument() {
  std::unique_ptr<Document> document = std::move(document_);
  if (document) --*nesting_.parsed_documents;
  Unload();
  return document;
}

void DocumentLoader::ReleaseLoaded() {
  DropDocument();
}

LoadableResource::LoadResult DocumentLoader::Load(std::vector<uint8_t>& bytes) {
  if (!document_) {
    if (!Parse(bytes)) return kLoadFailed;
    for (const auto& [id, resource] : document_->resources())
      if (Awaited(*resource)) resource->Start();
  }
  const LoadResult result = PollResources();
  if (result == kLoaded) document_->ResourcesReady();
  return result;
}

bool DocumentLoader::Parse(const std::vector<uint8_t>& bytes) {
  DocumentFile file;
  BufferReader reader(bytes);
  ReadVisitor visitor(reader);
  file.Visit(visitor);
  if (!visitor.ok()) {
    error_ = Quoted(name()) + ": " + visitor.error() + " at byte " +
             std::to_string(visitor.error_offset());
    error_offset_ = visitor.error_offset();
    return false;
  }
  if (*nesting_.parsed_documents >= kMaxDocuments) {
    error_ = Quoted(name()) + ": more than " + std::to_string(kMaxDocuments) + " nested documents";
    return false;
  }
  auto document = std::make_unique<Document>(name(), provider());
  std::string why;
  if (!document->Build(std::move(file), nesting_, why)) {
    error_ = Quoted(name()) + ": " + why;
    return false;
  }
  document_ = std::move(document);
  ++*nesting_.parsed_documents;
  return true;
}

bool DocumentLoader::Awaited(const LoadableResource& resource) {
  switch (resource.Kind()) {
    case ResourceKind::kImage:
      return true;
    case ResourceKind::kDocument:
      return resource.load_flag();
    case ResourceKind::kSound:
      return false;  // opened when created
  }
  return false;
}

LoadableResource::LoadResult DocumentLoader::PollResources() {
  bool failed = false;
  bool waiting = false;
  for (const auto& [id, resource] : document_->resources()) {
    if (!Awaited(*resource)) continue;
    const State state = resource->Poll();
    if (state == kFailed && !failed) {
      failed = true;
      error_ = Quoted(name()) + ": resource " + std::to_string(id) + " " +
               Quoted(resource->name()) + " failed to load";
      if (auto* nested = dynamic_cast<const DocumentLoader*>(resource.get());
          nested && !nested->error().empty())
        error_ += " (" + nested->error() + ")";
    }
    if (state != kDone) waiting = true;
  }
  if (failed) return kLoadFailed;
  return waiting ? kNotYet : kLoaded;
}

}  // namespace cva
