#pragma once

// The render benchmark's scene, the same for every graphics backend: kNodes image nodes of
// kSide x kSide pixels, each crossing a kWidth x kHeight stage on its own line while turning,
// played at a fixed 16 ms step; kWarmUpFrames frames before kMeasuredFrames measured ones.

#include <cstdint>
#include <vector>

#include "render/image/rgba_bitmap.h"

namespace cva::bench {

inline constexpr int kNodes = 1000;
inline constexpr int kWidth = 800;
inline constexpr int kHeight = 600;
inline constexpr int kSide = 64;
inline constexpr int kWarmUpFrames = 20;
inline constexpr int kMeasuredFrames = 200;
inline constexpr uint32_t kStepMs = 16;
// The name the document gives its image file, which lies beside it.
inline constexpr const char* kSpriteFile = "sprite.png";

// The document's bytes.
std::vector<uint8_t> RenderBenchDocument();
// The image: a transparent border, a gradient and a dark cross.
RgbaBitmap RenderBenchSprite();

}  // namespace cva::bench
