#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "stream/encoded_text.h"

namespace cva {

// Where a document sits among the documents that contain it. Shared by every loader of one
// tree of nested documents, so that a document cannot contain itself and the tree cannot
// grow without bound.
struct DocumentNesting {
  // Names of the documents that contain this one, outermost first.
  std::vector<EncodedText> ancestors;
  // Documents of the tree that are parsed and held right now.
  std::shared_ptr<uint32_t> parsed_documents;

  // The nesting of a document named inside the document `parent` that has this nesting.
  DocumentNesting Inside(const EncodedText& parent) const {
    DocumentNesting inner{ancestors, parsed_documents};
    inner.ancestors.push_back(parent);
    return inner;
  }
};

}  // namespace cva
