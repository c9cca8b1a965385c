#pragma once

namespace cva {

class Document;

// Told by the playback host when the document it was asked to load has become current.
class LoadListener {
 public:
  virtual ~LoadListener() = default;
  virtual void DocumentLoaded(Document& document) = 0;
};

}  // namespace cva
