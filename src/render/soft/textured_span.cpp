#include "render/soft/textured_span.h"

#include <atomic>
#include <cstddef>

#include "render/soft/soft_texture.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define CVA_SPAN_X86 1
#endif

namespace cva {
namespace {

std::atomic<SpanKernel> g_kernel{SpanKernel::kBest};

void BlendPixel(const uint8_t* texel, uint8_t* dest) {
  const uint32_t alpha = texel[3];
  for (int i = 0; i < 3; ++i) dest[i] = BlendChannelOver(texel[i], alpha, dest[i]);
}

// Pixel k of the span, with the general path's interpolation and texel addressing.
void PortablePixel(const TexturedSpan& s, int32_t k, uint8_t* dest) {
  const double kd = k;
  const double la = (s.wa + kd * s.step_a) * s.inv_area;
  const double lb = (s.wb + kd * s.step_b) * s.inv_area;
  const double lc = (s.wc + kd * s.step_c) * s.inv_area;
  const double u = la * s.au + lb * s.bu + lc * s.cu;
  const double v = la * s.av + lb * s.bv + lc * s.cv;
  const int32_t tx = SoftTexture::WrapIndex(static_cast<float>(u), s.texture_width);
  const int32_t ty = SoftTexture::WrapIndex(static_cast<float>(v), s.texture_height);
  const size_t texel =
      static_cast<size_t>(ty) * static_cast<size_t>(s.texture_width) + static_cast<size_t>(tx);
  BlendPixel(s.texels + texel * 4, dest + static_cast<size_t>(k) * 4);
}

void DrawPortable(const TexturedSpan& s, int32_t count, uint8_t* dest) {
  for (int32_t k = 0; k < count; ++k) PortablePixel(s, k, dest);
}

#ifdef CVA_SPAN_X86

// Four texel indices along one axis, as SoftTexture::WrapIndex computes them for a power-of-two
// size: the coordinate rounded to float, scaled to 1/256 texel, floored, wrapped. False when a
// lane is not finite or too large for exact doubles; the caller then takes the portable path.
__attribute__((target("avx2"))) bool WrapFour(__m256d coordinate, int32_t size, __m128i& out) {
  const __m256d as_float = _mm256_cvtps_pd(_mm256_cvtpd_ps(coordinate));
  const __m256d sized = _mm256_mul_pd(as_float, _mm256_set1_pd(static_cast<double>(size)));
  const __m256d units =
      _mm256_add_pd(_mm256_mul_pd(sized, _mm256_set1_pd(256.0)), _mm256_set1_pd(0.5));
  const __m256d magnitude = _mm256_andnot_pd(_mm256_set1_pd(-0.0), units);
  const __m256d small = _mm256_cmp_pd(magnitude, _mm256_set1_pd(0x1p50), _CMP_LT_OQ);
  if (_mm256_movemask_pd(small) != 0xF) return false;
  const __m256d texel =
      _mm256_floor_pd(_mm256_mul_pd(_mm256_floor_pd(units), _mm256_set1_pd(1.0 / 256.0)));
  const __m256d turns =
      _mm256_floor_pd(_mm256_mul_pd(texel, _mm256_set1_pd(1.0 / static_cast<double>(size))));
  const __m256d wrapped =
      _mm256_sub_pd(texel, _mm256_mul_pd(turns, _mm256_set1_pd(static_cast<double>(size))));
  out = _mm256_cvttpd_epi32(wrapped);
  return true;
}

// BlendChannelOver for two pixels widened to 16 bits per channel.
__attribute__((target("avx2"))) __m128i BlendTwo(__m128i source, __m128i dest) {
  const __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(source, 0xFF), 0xFF);
  const __m128i inverse = _mm_sub_epi16(_mm_set1_epi16(255), alpha);
  const __m128i t =
      _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(source, alpha), _mm_mullo_epi16(dest, inverse)),
                    _mm_set1_epi16(128));
  return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
}

// BlendChannelOver for four pixels (r, g, b of each; alpha stays 255).
__attribute__((target("avx2"))) __m128i BlendFour(__m128i texels, __m128i dest) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i low = BlendTwo(_mm_unpacklo_epi8(texels, zero), _mm_unpacklo_epi8(dest, zero));
  const __m128i high = BlendTwo(_mm_unpackhi_epi8(texels, zero), _mm_unpackhi_epi8(dest, zero));
  return _mm_or_si128(_mm_packus_epi16(low, high), _mm_set1_epi32(static_cast<int>(0xFF000000u)));
}

// Barycentric weight of four pixels: (edge value at the first + k x step) / twice the area.
__attribute__((target("avx2"))) __m256d WeightFour(__m256d k, double w, double step,
                                                   __m256d inv_area) {
  return _mm256_mul_pd(_mm256_add_pd(_mm256_set1_pd(w), _mm256_mul_pd(k, _mm256_set1_pd(step))),
                       inv_area);
}

// la a + lb b + lc c for four pixels, summed left to right.
__attribute__((target("avx2"))) __m256d InterpolateFour(__m256d la, __m256d lb, __m256d lc,
                                                        double a, double b, double c) {
  return _mm256_add_pd(
      _mm256_add_pd(_mm256_mul_pd(la, _mm256_set1_pd(a)), _mm256_mul_pd(lb, _mm256_set1_pd(b))),
      _mm256_mul_pd(lc, _mm256_set1_pd(c)));
}

// Four pixels at a time: the same multiplications and additions as PortablePixel, in the
// same order (no fused multiply-add), so every lane rounds as the scalar code does.
__attribute__((target("avx2"))) void DrawAvx2(const TexturedSpan& s, int32_t count, uint8_t* dest) {
  const __m256d lanes = _mm256_set_pd(3.0, 2.0, 1.0, 0.0);
  const __m256d inv_area = _mm256_set1_pd(s.inv_area);
  const __m128i width = _mm_set1_epi32(s.texture_width);
  const int* texels = reinterpret_cast<const int*>(s.texels);
  int32_t k = 0;
  for (; k + 4 <= count; k += 4) {
    const __m256d kd = _mm256_add_pd(_mm256_set1_pd(static_cast<double>(k)), lanes);
    const __m256d la = WeightFour(kd, s.wa, s.step_a, inv_area);
    const __m256d lb = WeightFour(kd, s.wb, s.step_b, inv_area);
    const __m256d lc = WeightFour(kd, s.wc, s.step_c, inv_area);
    __m128i tx, ty;
    if (!WrapFour(InterpolateFour(la, lb, lc, s.au, s.bu, s.cu), s.texture_width, tx) ||
        !WrapFour(InterpolateFour(la, lb, lc, s.av, s.bv, s.cv), s.texture_height, ty)) {
      for (int32_t j = 0; j < 4; ++j) PortablePixel(s, k + j, dest);
      continue;
    }
    const __m128i index = _mm_add_epi32(_mm_mullo_epi32(ty, width), tx);
    const __m128i source = _mm_i32gather_epi32(texels, index, 4);
    uint8_t* out = dest + static_cast<size_t>(k) * 4;
    const __m128i under = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), BlendFour(source, under));
  }
  for (; k < count; ++k) PortablePixel(s, k, dest);
}

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

#endif

}  // namespace

void SetSpanKernel(SpanKernel kernel) {
  g_kernel.store(kernel, std::memory_order_relaxed);
}

void DrawTexturedSpanOver(const TexturedSpan& span, int32_t count, uint8_t* dest) {
#ifdef CVA_SPAN_X86
  if (g_kernel.load(std::memory_order_relaxed) == SpanKernel::kBest && HasAvx2()) {
    DrawAvx2(span, count, dest);
    return;
  }
#endif
  DrawPortable(span, count, dest);
}

}  // namespace cva
