// Arbitrary text as a document's JSON form, as cvac reads it. What it compiles to must dump
// and compile back to the same bytes, and the dump must be stable: whatever cvadump writes,
// cvac reads back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "document_json.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const cva::json::CompileResult compiled = cva::json::CompileDocument(text);
  if (!compiled.ok) return 0;
  const cva::json::DumpResult dumped = cva::json::DumpDocument(compiled.bytes);
  if (!dumped.ok) return 0;  // cvac also stores documents cvadump refuses (foreign versions)
  const cva::json::CompileResult again = cva::json::CompileDocument(dumped.json);
  if (!again.ok || again.bytes != compiled.bytes) std::abort();
  return 0;
}
