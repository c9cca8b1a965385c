#pragma once

// The fast path of the software renderer for its most common pixels: a textured triangle with
// a white material blended with source alpha and inverse source alpha over the colour buffer.
// Texture coordinates are interpolated with the same double-precision arithmetic, in the same
// order, as the general per-pixel path, and the blend in integers that round exactly as the
// floating-point blend does, so both paths draw identical bytes.

#include <cstdint>

namespace cva {

// One row of pixels of a triangle.
struct TexturedSpan {
  // The three edge values at the first pixel and their steps per pixel: integers small enough
  // (below 2^52) that doubles hold them and their sums along the row exactly.
  double wa, wb, wc;
  double step_a, step_b, step_c;
  double inv_area;    // 1 / twice the triangle's area
  double au, bu, cu;  // texture coordinates of the vertices opposite each edge
  double av, bv, cv;
  const uint8_t* texels;  // RGBA, rows from the top
  int32_t texture_width;  // powers of two
  int32_t texture_height;
  // Set by PrepareTexturedSpan from the fields above (all but wa, wb, wc): per texture axis,
  // the step along a row in 1/65536 texel, rounded, and how far a coordinate stepped with it
  // may stray from the general path's, as a constant and a part per pixel stepped.
  double fixed_step_u, fixed_step_v;
  double drift_u, drift_v;
  double drift_per_pixel_u, drift_per_pixel_v;
};

// Fills the parts of the span that are the same for every row of a triangle.
void PrepareTexturedSpan(TexturedSpan& span);

// Blends `count` pixels of the span into `dest` (RGBA, alpha kept at 255).
void DrawTexturedSpanOver(const TexturedSpan& span, int32_t count, uint8_t* dest);

// Source alpha / inverse source alpha of a texel (r, g, b, a) with a white material over a
// destination channel, rounded to the nearest byte. With exact byte fractions
// (t a + d (255 - a)) / 255 never lies on a half, and the floating-point blend stays far
// closer than that to the exact value, so both round alike.
inline uint8_t BlendChannelOver(uint32_t texel, uint32_t alpha, uint32_t dest) {
  const uint32_t t = texel * alpha + dest * (255 - alpha) + 128;
  return static_cast<uint8_t>((t + (t >> 8)) >> 8);
}

// Which implementation DrawTexturedSpanOver uses: the widest the processor runs, or the
// portable one (so tests can compare the two).
enum class SpanKernel : uint8_t { kBest, kPortable };
void SetSpanKernel(SpanKernel kernel);

}  // namespace cva
