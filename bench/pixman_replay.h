#pragma once

// The render benchmark's yardstick: a frame's sprites drawn again with pixman's transformed
// nearest-neighbour OVER composite into a frame of the same size, so that both renderers do
// the same work in the same process. Each sprite is a textured quad whose local corners are
// its texture's texel coordinates (the benchmark's image nodes are drawn at the image's size).

#include <cstdint>
#include <map>
#include <vector>

#include "render/matrix.h"
#include "render/soft/soft_texture.h"

union pixman_image;

namespace cva::bench {

struct ReplaySprite {
  Matrix4 world;
  const SoftTexture* texture;
};

class PixmanReplay {
 public:
  PixmanReplay(int32_t width, int32_t height);
  ~PixmanReplay();
  PixmanReplay(const PixmanReplay&) = delete;
  PixmanReplay& operator=(const PixmanReplay&) = delete;

  // Clears the frame to black and composites the sprites in order.
  void Draw(const std::vector<ReplaySprite>& sprites);
  // The frame as RGBA bytes (alpha 255), for comparing with the software renderer's.
  std::vector<uint8_t> Rgba() const;

 private:
  pixman_image* SourceOf(const SoftTexture* texture);

  int32_t width_;
  int32_t height_;
  std::vector<uint32_t> pixels_;
  pixman_image* frame_;
  std::map<const SoftTexture*, std::pair<std::vector<uint32_t>, pixman_image*>> sources_;
};

}  // namespace cva::bench
