#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "document/document_header.h"
#include "render/image_resource.h"

namespace cva::session {

// What a headless run takes from the start of a document: the frame size and the step.
struct DocumentStage {
  // The stage size rounded to pixels (each side at most 4096), or 640 x 480 when the document
  // gives no usable size.
  ImageSize size{640, 480};
  // The frame duration rounded to milliseconds, or 16 when it lies outside 1 to 60000.
  uint32_t frame_ms = 16;
};

// Reads a document's bytes up to its header; nothing when they are not a document of the known
// version.
std::optional<DocumentStage> ReadDocumentStage(const std::vector<uint8_t>& bytes);
// The same from a header already read.
DocumentStage StageOf(const DocumentHeader& header);

}  // namespace cva::session
