#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "stream/encoded_text.h"

namespace cva {

// The files a document load fetched, as narrow names in fetch order with duplicates kept:
// what the archive of a generated player holds. Beside it, the text encoding of the loaded
// document, with which the chosen start label is read back.
class PackList {
 public:
  void Add(std::string name) { names_.push_back(std::move(name)); }
  void Clear() { names_.clear(); }
  const std::vector<std::string>& names() const { return names_; }

  int32_t document_encoding() const { return document_encoding_; }
  void set_document_encoding(int32_t encoding) { document_encoding_ = encoding; }

 private:
  std::vector<std::string> names_;
  int32_t document_encoding_ = EncodedText::kShiftJis;
};

}  // namespace cva
