#include "pixman_replay.h"

#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace cva::bench {

PixmanReplay::PixmanReplay(int32_t width, int32_t height)
    : width_(width),
      height_(height),
      pixels_(static_cast<size_t>(width) * static_cast<size_t>(height)),
      frame_(pixman_image_create_bits(PIXMAN_x8r8g8b8, width, height, pixels_.data(), width * 4)) {}

PixmanReplay::~PixmanReplay() {
  for (auto& [texture, source] : sources_) pixman_image_unref(source.second);
  pixman_image_unref(frame_);
}

pixman_image* PixmanReplay::SourceOf(const SoftTexture* texture) {
  auto it = sources_.find(texture);
  if (it != sources_.end()) return it->second.second;
  // pixman composites premultiplied colour: multiply once, outside the timed frames. Its
  // fastest formats keep blue in the low byte.
  std::vector<uint32_t> texels(static_cast<size_t>(texture->width()) *
                               static_cast<size_t>(texture->height()));
  for (int32_t y = 0; y < texture->height(); ++y) {
    for (int32_t x = 0; x < texture->width(); ++x) {
      const Texel t = texture->At(x, y);
      auto times_alpha = [&](uint8_t c) { return static_cast<uint32_t>((c * t.a + 127) / 255); };
      texels[static_cast<size_t>(y) * static_cast<size_t>(texture->width()) +
             static_cast<size_t>(x)] =
          times_alpha(t.b) | times_alpha(t.g) << 8 | times_alpha(t.r) << 16 | uint32_t{t.a} << 24;
    }
  }
  pixman_image* image = pixman_image_create_bits(
      PIXMAN_a8r8g8b8, texture->width(), texture->height(), texels.data(), texture->width() * 4);
  pixman_image_set_filter(image, PIXMAN_FILTER_NEAREST, nullptr, 0);
  pixman_image_set_repeat(image, PIXMAN_REPEAT_NONE);
  sources_[texture] = {std::move(texels), image};
  return image;
}

void PixmanReplay::Draw(const std::vector<ReplaySprite>& sprites) {
  std::memset(pixels_.data(), 0, pixels_.size() * 4);
  for (const ReplaySprite& sprite : sprites) {
    if (sprite.texture == nullptr) continue;
    // Local (x, y) goes to (x m00 + y m10 + m30, x m01 + y m11 + m31); pixman wants the inverse,
    // from a destination pixel to a texel position. pixman samples pixel centres at +0.5, this
    // renderer at the integer point: the inverse starts half a pixel back.
    const auto& m = sprite.world.m;
    const double a = m[0][0], b = m[1][0], c = m[3][0];
    const double d = m[0][1], e = m[1][1], f = m[3][1];
    const double det = a * e - b * d;
    if (std::fabs(det) < 1e-12) continue;
    const double ia = e / det, ib = -b / det, id = -d / det, ie = a / det;
    const double ic = -(ia * (c + 0.5) + ib * (f + 0.5));
    const double ifv = -(id * (c + 0.5) + ie * (f + 0.5));
    pixman_transform_t transform = {
        {{pixman_double_to_fixed(ia), pixman_double_to_fixed(ib), pixman_double_to_fixed(ic)},
         {pixman_double_to_fixed(id), pixman_double_to_fixed(ie), pixman_double_to_fixed(ifv)},
         {0, 0, pixman_fixed_1}}};
    pixman_image* source = SourceOf(sprite.texture);
    pixman_image_set_transform(source, &transform);
    const double w = sprite.texture->width(), h = sprite.texture->height();
    const double xs[4] = {c, a * w + c, a * w + b * h + c, b * h + c};
    const double ys[4] = {f, d * w + f, d * w + e * h + f, e * h + f};
    const int32_t x0 = std::max(0, static_cast<int32_t>(std::floor(*std::min_element(xs, xs + 4))));
    const int32_t y0 = std::max(0, static_cast<int32_t>(std::floor(*std::min_element(ys, ys + 4))));
    const int32_t x1 =
        std::min(width_, static_cast<int32_t>(std::ceil(*std::max_element(xs, xs + 4))) + 1);
    const int32_t y1 =
        std::min(height_, static_cast<int32_t>(std::ceil(*std::max_element(ys, ys + 4))) + 1);
    if (x0 >= x1 || y0 >= y1) continue;
    pixman_image_composite32(PIXMAN_OP_OVER, source, nullptr, frame_, x0, y0, 0, 0, x0, y0, x1 - x0,
                             y1 - y0);
  }
}

std::vector<uint8_t> PixmanReplay::Rgba() const {
  std::vector<uint8_t> out(pixels_.size() * 4);
  for (size_t i = 0; i < pixels_.size(); ++i) {
    const uint32_t p = pixels_[i];
    out[i * 4] = static_cast<uint8_t>(p >> 16);
    out[i * 4 + 1] = static_cast<uint8_t>(p >> 8);
    out[i * 4 + 2] = static_cast<uint8_t>(p);
    out[i * 4 + 3] = 255;
  }
  return out;
}

}  // namespace cva::bench
