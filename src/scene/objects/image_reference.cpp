#include "scene/objects/image_reference.h"

#include "document/document.h"
#include "render/image_resource.h"

namespace cva {

ImageResource* FindLoadedImage(const Document* document, int16_t id) {
  if (!document) return nullptr;
  LoadableResource* resource = document->resources().Find(id);
  if (!resource || resource->Kind() != ResourceKind::kImage || !resource->done()) return nullptr;
  return static_cast<ImageResource*>(resource);
}

bool ImageReference::Resolve(const Document* document) {
  if (!needs_resolving_) return false;
  ImageResource* image = FindLoadedImage(document, id_);
  if (!image) return false;
  resolved_ = image;
  needs_resolving_ = false;
  return true;
}

}  // namespace cva
