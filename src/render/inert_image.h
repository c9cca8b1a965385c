#pragma once

#include <cstdint>
#include <vector>

#include "render/image_resource.h"

namespace cva {

// An image that decodes nothing: it loads from whatever bytes were fetched, has no pixels
// (0 by 0) and no alpha mask, so every point hits.
class InertImage : public ImageResource {
 public:
  using ImageResource::ImageResource;

  ImageSize Size() const override { return {}; }
  bool HitTest(int32_t, int32_t) const override { return true; }

 protected:
  LoadResult Load(std::vector<uint8_t>&) override { return kLoaded; }
};

}  // namespace cva
