#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "render/image_resource.h"

namespace cva::trace {

// The pixel size stored in a PNG file's header, or none when `bytes` do not start with a PNG
// signature and header chunk, or the size is 0 or beyond 2^31 - 1. Trace runs decode no
// images; the size is enough for what depends on it (pixel hit tests, texture extents).
std::optional<ImageSize> PngSize(const std::vector<uint8_t>& bytes);

}  // namespace cva::trace
