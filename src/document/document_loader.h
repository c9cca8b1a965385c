#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/document.h"
#include "document/loadable_resource.h"

namespace cva {

// Fetches a document by name and loads it over several polls: the first load parses the
// document and starts its images and the nested documents flagged for loading; every load
// then polls them, and the document is done once all of them are.
class DocumentLoader final : public LoadableResource {
 public:
  // Documents nested deeper than this fail instead of loading (each level is polled through
  // its parent, so the chain must stay short).
  static constexpr size_t kMaxNesting = 32;
  // A tree of nested documents holding more parsed documents than this fails to load, so
  // that documents naming each other many times over cannot exhaust memory.
  static constexpr uint32_t kMaxDocuments = 1024;

  // A loader of a start document, or (with `nesting`) of a document nested in others.
  DocumentLoader(ResourceProvider& provider, EncodedText name, DocumentNesting nesting = {});
  ~DocumentLoader() override;

  ResourceKind Kind() const override { return ResourceKind::kDocument; }
  // Refuses (fails at once) a document that contains itself, directly or through others.
  State Start() override;

  // The document once parsed (null before, and after a failed parse).
  Document* document() const { return document_.get(); }
  // Hands the document over; the loader goes back to idle.
  std::unique_ptr<Document> TakeDocument();

  // Why the last load failed (empty when it did not).
  const std::string& error() const { return error_; }
  // Byte offset of the malformed data when the document itself could not be read.
  std::optional<uint32_t> error_offset() const { return error_offset_; }

 protected:
  LoadResult Load(std::vector<uint8_t>& bytes) override;
  void ReleaseLoaded() override;

 private:
  bool Parse(const std::vector<uint8_t>& bytes);
  // Whether the resource is one this document waits for.
  static bool Awaited(const LoadableResource& resource);
  LoadResult PollResources();

  void DropDocument();

  DocumentNesting nesting_;
  std::unique_ptr<Document> document_;
  std::string error_;
  std::optional<uint32_t> error_offset_;
};

}  // namespace cva
