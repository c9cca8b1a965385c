// Arbitrary bytes as one part of a fixed document, the objects fixture: its nested document
// "child.cva" or its image "red.png" (the first input byte chooses, even or odd), played for a
// few frames over the software renderer so that images are decoded, masked and drawn.
#include <cstdint>

#include "fuzz_support.h"
#include "render/soft/glyphs/soft_text_primitive.h"
#include "render/soft/soft_provider.h"

namespace {
constexpr int32_t kFrames = 6;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  cva::SoftProvider graphics;
  graphics.SetThreads(1);
  cva::UseSoftGlyphs(graphics);
  graphics.Resize(160, 120);
  cva::fuzz::MemoryPlayer play(graphics);
  play.services().files[(data[0] & 1) ? "red.png" : "child.cva"].assign(data + 1, data + size);
  // One rasterizer thread draws at once, so no frame needs flushing.
  if (!play.Load("objects.cva", [&] { graphics.BeginFrame(); })) return 0;
  for (int32_t i = 0; i < kFrames; ++i) {
    graphics.BeginFrame();
    play.Advance();
  }
  return 0;
}
