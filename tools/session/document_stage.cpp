#include "document_stage.h"

#include <algorithm>
#include <cmath>

#include "document/document_file.h"
#include "stream/memory_reader.h"
#include "stream/read_visitor.h"

namespace cva::session {
namespace {

// Frame sides taken from a document's stage size are kept to this.
constexpr int32_t kMaxDefaultSide = 4096;

// The start of a document, up to its header: enough for the stage size and frame duration.
struct DocumentPrefix {
  int32_t magic = 0;
  int32_t version = 0;
  CountedList<VariableRecord> variables;
  DocumentHeader header;

  template <class V>
  void Visit(V& v) {
    v.Int("magic", magic);
    if (magic != DocumentFile::kMagic) return v.Fail("not a document");
    v.Int("version", version);
    if (version != DocumentFile::kVersion) return v.Fail("unknown document version");
    v.List("variables", variables);
    v.Record("header", header);
  }
};

std::optional<int32_t> Side(float value) {
  if (!std::isfinite(value) || value < 1.0f) return std::nullopt;
  return static_cast<int32_t>(std::min(std::lround(value), long{kMaxDefaultSide}));
}

}  // namespace

std::optional<DocumentStage> ReadDocumentStage(const std::vector<uint8_t>& bytes) {
  MemoryReader reader(bytes);
  ReadVisitor visitor(reader);
  DocumentPrefix prefix;
  prefix.Visit(visitor);
  if (!visitor.ok()) return std::nullopt;
  return StageOf(prefix.header);
}

DocumentStage StageOf(const DocumentHeader& header) {
  DocumentStage stage;
  if (Side(header.stage_width) && Side(header.stage_height))
    stage.size = {*Side(header.stage_width), *Side(header.stage_height)};
  if (std::isfinite(header.frame_duration) && header.frame_duration >= 1.0f &&
      header.frame_duration <= 60000.0f)
    stage.frame_ms = static_cast<uint32_t>(std::lround(header.frame_duration));
  return stage;
}

}  // namespace cva::session
