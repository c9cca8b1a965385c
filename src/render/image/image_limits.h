#pragma once

#include <cstdint>
#include <string>

namespace cva {

// Largest image accepted, in each direction and in pixels overall. Every backend checks an
// image's size against these before it allocates anything for the pixels, so a document
// loads the same images everywhere.
constexpr int32_t kMaxImageSide = 8192;
constexpr int64_t kMaxImagePixels = int64_t{1} << 24;

// Whether an image of width x height (as read from a file's header) has pixels and lies
// within the limits; when not, `error` says why.
bool ImageSizeAccepted(int64_t width, int64_t height, std::string& error);

}  // namespace cva
