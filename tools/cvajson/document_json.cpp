#include "document_json.h"

#include "document/document_file.h"
#include "json_layout.h"
#include "json_read_visitor.h"
#include "json_write_visitor.h"
#include "stream/byte_writer.h"
#include "stream/memory_reader.h"
#include "stream/read_visitor.h"
#include "stream/write_visitor.h"

namespace cva::json {
namespace {

// The deepest nesting of arrays and objects in JSON text, counted without parsing it (so
// that hostile input cannot make the parser or later recursion go deep). Stops counting as
// soon as `limit` is passed.
int NestingDepth(std::string_view text, int limit) {
  int depth = 0, deepest = 0;
  bool in_string = false, escaped = false;
  for (char c : text) {
    if (in_string) {
      if (escaped)
        escaped = false;
      else if (c == '\\')
        escaped = true;
      else if (c == '"')
        in_string = false;
    } else if (c == '"') {
      in_string = true;
    } else if (c == '[' || c == '{') {
      ++depth;
      if (depth > deepest) deepest = depth;
      if (deepest > limit) break;
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return deepest;
}

}  // namespace

DumpResult DumpDocument(std::span<const uint8_t> bytes) {
  DumpResult result;
  if (bytes.size() > 0x7FFFFFFF) {
    result.error = "the file is larger than 2 GiB";
    return result;
  }
  DocumentFile file;
  MemoryReader reader(bytes);
  ReadVisitor read(reader);
  file.Visit(read);
  if (!read.ok()) {
    result.error = read.error();
    result.offset = read.error_offset();
    return result;
  }
  result.recognised = file.recognised();
  JsonWriteVisitor write;
  file.Visit(write);
  if (!write.ok()) {
    result.error = write.error();
    return result;
  }
  try {
    result.json = LayOut(write.result());
  } catch (const Json::exception& e) {
    result.error = e.what();
    return result;
  }
  result.ok = true;
  return result;
}

CompileResult CompileDocument(std::string_view json_text) {
  CompileResult result;
  if (NestingDepth(json_text, kMaxJsonDepth) > kMaxJsonDepth) {
    result.error = "JSON nested deeper than " + std::to_string(kMaxJsonDepth) + " levels";
    return result;
  }
  Json root;
  try {
    root = Json::parse(json_text.begin(), json_text.end());
  } catch (const Json::exception& e) {  // syntax errors, and numbers out of range
    result.error = std::string("not valid JSON: ") + e.what();
    return result;
  }
  DocumentFile file;
  JsonReadVisitor read(root);
  if (!read.ReadTop(file)) {
    result.error = read.error();
    return result;
  }
  ByteWriter out;
  WriteVisitor write(out);
  file.Visit(write);
  if (!write.ok()) {
    result.error = write.error();
    return result;
  }
  result.bytes = out.Take();
  result.ok = true;
  return result;
}

}  // namespace cva::json
