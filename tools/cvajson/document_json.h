#pragma once

// A whole document in its JSON form and back.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cva::json {

struct DumpResult {
  bool ok = false;
  std::string json;        // the document as JSON text (two-space indents, a final newline)
  std::string error;       // what was expected and the field path, when not ok
  uint32_t offset = 0;     // byte offset of the error, when not ok
  bool recognised = true;  // false when the magic or version is foreign (kept as trailing bytes)
};

// Reads a document and gives its JSON form. Fails on a document that does not read
// completely (data that ends early, an unknown type code).
DumpResult DumpDocument(std::span<const uint8_t> bytes);

struct CompileResult {
  bool ok = false;
  std::vector<uint8_t> bytes;  // the stored document
  std::string error;           // the JSON path and what was expected, when not ok
};

// Reads a document's JSON form and stores it. JSON nested deeper than kMaxJsonDepth is
// refused before it is parsed.
CompileResult CompileDocument(std::string_view json_text);

inline constexpr int kMaxJsonDepth = 1024;

}  // namespace cva::json
