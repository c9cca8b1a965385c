#pragma once

#include <cstdint>

namespace cva {

class Document;
class ImageResource;

// A reference from a scene object to an image resource of its document. It resolves only to
// an image entry that is done loading; until then it stays unresolved and is tried again at
// the next use.
class ImageReference {
 public:
  explicit ImageReference(int16_t id = -1) : id_(id) {}

  int16_t id() const { return id_; }
  bool needs_resolving() const { return needs_resolving_; }
  ImageResource* resolved() const { return resolved_; }

  // Looks the image up when the reference still needs resolving. Returns true when this
  // call resolved it (the caller then hands the image to its primitive).
  bool Resolve(const Document* document);
  // Forgets the resolved image so that the next use looks it up again.
  void Invalidate() {
    resolved_ = nullptr;
    needs_resolving_ = true;
  }

 private:
  int16_t id_;
  bool needs_resolving_ = true;
  ImageResource* resolved_ = nullptr;
};

// The image entry `id` of the document when it exists and is done, else null.
ImageResource* FindLoadedImage(const Document* document, int16_t id);

}  // namespace cva
