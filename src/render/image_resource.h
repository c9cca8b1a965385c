#pragma once

#include <cstdint>

#include "document/loadable_resource.h"

namespace cva {

// Width and height of an image in pixels.
struct ImageSize {
  int32_t width = 0;
  int32_t height = 0;
  friend bool operator==(const ImageSize&, const ImageSize&) = default;
};

// A named image file turned into a texture, with an alpha mask for pointer hit tests.
class ImageResource : public LoadableResource {
 public:
  using LoadableResource::LoadableResource;

  ResourceKind Kind() const final { return ResourceKind::kImage; }
  // (0, 0) before the image has loaded.
  virtual ImageSize Size() const = 0;
  // Whether the pixel (x, y) is opaque; every pixel hits when the image has no alpha mask.
  virtual bool HitTest(int32_t x, int32_t y) const = 0;
};

}  // namespace cva
