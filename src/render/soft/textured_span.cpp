#include "render/soft/textured_span.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstddef>

#include "render/soft/soft_texture.h"
#include "render/soft/textured_span_kernels.h"

namespace cva {
namespace {

std::atomic<SpanKernel> g_kernel{SpanKernel::kBest};

#ifdef CVA_SPAN_AVX2
// Decided before main, so threads only ever read it.
const bool kHasAvx2 = [] {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
}();
#endif

// One axis of PrepareTexturedSpan: a, b, c are the vertices' coordinates on it.
void PrepareAxis(const TexturedSpan& s, double a, double b, double c, int32_t size, double& step,
                 double& drift, double& drift_per_pixel) {
  const double scale = static_cast<double>(size) * 65536.0;
  const double slope = (s.step_a * a + s.step_b * b + s.step_c * c) * s.inv_area;
  const double slope_error =
      0x1p-50 * (std::fabs(s.step_a * a) + std::fabs(s.step_b * b) + std::fabs(s.step_c * c)) *
      s.inv_area;
  // Inside the triangle the weights lie in 0..1, so no coordinate is larger than this.
  const double largest = std::max({std::fabs(a), std::fabs(b), std::fabs(c)});
  step = std::nearbyint(slope * scale);
  // Per pixel: the rounding of the step (half a unit) and the slope's own error. Once: the
  // rounding of the start, how far the general path's rounded products stray from the straight
  // line, the rounding of the coordinate to float (2^-24 of it), and a few units to spare.
  drift_per_pixel = 0.5 + scale * slope_error;
  drift = 0.5 + scale * (0x1p-44 * (largest + 1) + 0x1p-23 * largest) + 4;
}

}  // namespace

void PrepareTexturedSpan(TexturedSpan& s) {
  PrepareAxis(s, s.au, s.bu, s.cu, s.texture_width, s.fixed_step_u, s.drift_u, s.drift_per_pixel_u);
  PrepareAxis(s, s.av, s.bv, s.cv, s.texture_height, s.fixed_step_v, s.drift_v,
              s.drift_per_pixel_v);
}

void DrawTexturedPixelPortable(const TexturedSpan& s, int32_t k, uint8_t* dest) {
  const double kd = k;
  const double la = (s.wa + kd * s.step_a) * s.inv_area;
  const double lb = (s.wb + kd * s.step_b) * s.inv_area;
  const double lc = (s.wc + kd * s.step_c) * s.inv_area;
  const double u = la * s.au + lb * s.bu + lc * s.cu;
  const double v = la * s.av + lb * s.bv + lc * s.cv;
  const int32_t tx = SoftTexture::WrapIndex(static_cast<float>(u), s.texture_width);
  const int32_t ty = SoftTexture::WrapIndex(static_cast<float>(v), s.texture_height);
  const uint8_t* texel =
      s.texels +
      (static_cast<size_t>(ty) * static_cast<size_t>(s.texture_width) + static_cast<size_t>(tx)) *
          4;
  uint8_t* pixel = dest + static_cast<size_t>(k) * 4;
  for (int i = 0; i < 3; ++i) pixel[i] = BlendChannelOver(texel[i], texel[3], pixel[i]);
}

void SetSpanKernel(SpanKernel kernel) {
  g_kernel.store(kernel, std::memory_order_relaxed);
}

void DrawTexturedSpanOver(const TexturedSpan& span, int32_t count, uint8_t* dest) {
#ifdef CVA_SPAN_AVX2
  if (g_kernel.load(std::memory_order_relaxed) == SpanKernel::kBest && kHasAvx2) {
    DrawTexturedSpanAvx2(span, count, dest);
    return;
  }
#endif
  for (int32_t k = 0; k < count; ++k) DrawTexturedPixelPortable(span, k, dest);
}

}  // namespace cva
