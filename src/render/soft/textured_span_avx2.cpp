// The AVX2 implementation of DrawTexturedSpanOver. Texture coordinates step along the row in
// 16.16 fixed point, eight pixels at a time, with a bound on how far the stepped value can be
// from the one the general path computes. A texel is taken from the stepped value only when
// every pixel of the eight lies further than that bound from a texel boundary; otherwise the
// eight are computed as the general path does (in doubles, four lanes, in its order of
// operations, without fused multiply-add), so the picture never depends on the shortcut.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "render/soft/textured_span_kernels.h"

#ifdef CVA_SPAN_AVX2

#include <immintrin.h>

#define CVA_AVX2 __attribute__((target("avx2")))

namespace cva {
namespace {

// Four texel indices along one axis, as SoftTexture::WrapIndex computes them for a power-of-two
// size: the coordinate rounded to float, scaled to 1/256 texel, floored, wrapped. False when a
// lane is not finite or too large for exact doubles.
CVA_AVX2 bool WrapFour(__m256d coordinate, int32_t size, __m128i& out) {
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

// Barycentric weight of four pixels: (edge value at the first + k x step) / twice the area.
CVA_AVX2 __m256d WeightFour(__m256d k, double w, double step, __m256d inv_area) {
  return _mm256_mul_pd(_mm256_add_pd(_mm256_set1_pd(w), _mm256_mul_pd(k, _mm256_set1_pd(step))),
                       inv_area);
}

// la a + lb b + lc c for four pixels, summed left to right.
CVA_AVX2 __m256d InterpolateFour(__m256d la, __m256d lb, __m256d lc, double a, double b, double c) {
  return _mm256_add_pd(
      _mm256_add_pd(_mm256_mul_pd(la, _mm256_set1_pd(a)), _mm256_mul_pd(lb, _mm256_set1_pd(b))),
      _mm256_mul_pd(lc, _mm256_set1_pd(c)));
}

// BlendChannelOver on pixels widened to 16 bits per channel (alpha in the fourth).
CVA_AVX2 __m256i BlendWide(__m256i source, __m256i dest) {
  const __m256i alpha = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(source, 0xFF), 0xFF);
  const __m256i inverse = _mm256_sub_epi16(_mm256_set1_epi16(255), alpha);
  const __m256i t = _mm256_add_epi16(
      _mm256_add_epi16(_mm256_mullo_epi16(source, alpha), _mm256_mullo_epi16(dest, inverse)),
      _mm256_set1_epi16(128));
  return _mm256_srli_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), 8);
}

// Eight pixels blended (r, g, b of each; alpha stays 255).
CVA_AVX2 __m256i BlendEight(__m256i texels, __m256i dest) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i low =
      BlendWide(_mm256_unpacklo_epi8(texels, zero), _mm256_unpacklo_epi8(dest, zero));
  const __m256i high =
      BlendWide(_mm256_unpackhi_epi8(texels, zero), _mm256_unpackhi_epi8(dest, zero));
  return _mm256_or_si256(_mm256_packus_epi16(low, high),
                         _mm256_set1_epi32(static_cast<int>(0xFF000000u)));
}

uint32_t LoadTexel(const uint8_t* texels, int32_t index) {
  uint32_t t;
  std::memcpy(&t, texels + static_cast<size_t>(index) * 4, 4);
  return t;
}

// Eight texels by index (separate loads: faster than a gather on many processors).
CVA_AVX2 __m256i LoadEight(const uint8_t* texels, __m256i index) {
  alignas(32) int32_t i[8];
  _mm256_store_si256(reinterpret_cast<__m256i*>(i), index);
  return _mm256_setr_epi32(
      static_cast<int>(LoadTexel(texels, i[0])), static_cast<int>(LoadTexel(texels, i[1])),
      static_cast<int>(LoadTexel(texels, i[2])), static_cast<int>(LoadTexel(texels, i[3])),
      static_cast<int>(LoadTexel(texels, i[4])), static_cast<int>(LoadTexel(texels, i[5])),
      static_cast<int>(LoadTexel(texels, i[6])), static_cast<int>(LoadTexel(texels, i[7])));
}

// Pixels first .. end - 1 exactly as the general path computes them.
CVA_AVX2 void DrawExact(const TexturedSpan& s, int32_t first, int32_t end, uint8_t* dest) {
  const __m256d lanes = _mm256_set_pd(3.0, 2.0, 1.0, 0.0);
  const __m256d inv_area = _mm256_set1_pd(s.inv_area);
  int32_t k = first;
  for (; k + 4 <= end; k += 4) {
    const __m256d kd = _mm256_add_pd(_mm256_set1_pd(static_cast<double>(k)), lanes);
    const __m256d la = WeightFour(kd, s.wa, s.step_a, inv_area);
    const __m256d lb = WeightFour(kd, s.wb, s.step_b, inv_area);
    const __m256d lc = WeightFour(kd, s.wc, s.step_c, inv_area);
    __m128i tx, ty;
    if (!WrapFour(InterpolateFour(la, lb, lc, s.au, s.bu, s.cu), s.texture_width, tx) ||
        !WrapFour(InterpolateFour(la, lb, lc, s.av, s.bv, s.cv), s.texture_height, ty)) {
      for (int32_t j = 0; j < 4; ++j) DrawTexturedPixelPortable(s, k + j, dest);
      continue;
    }
    alignas(16) int32_t x[4], y[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(x), tx);
    _mm_store_si128(reinterpret_cast<__m128i*>(y), ty);
    for (int32_t j = 0; j < 4; ++j) {
      const uint8_t* texel =
          s.texels + (static_cast<size_t>(y[j]) * static_cast<size_t>(s.texture_width) +
                      static_cast<size_t>(x[j])) *
                         4;
      uint8_t* pixel = dest + static_cast<size_t>(k + j) * 4;
      for (int i = 0; i < 3; ++i) pixel[i] = BlendChannelOver(texel[i], texel[3], pixel[i]);
    }
  }
  for (; k < end; ++k) DrawTexturedPixelPortable(s, k, dest);
}

// One texture axis stepped in 16.16 fixed point from the first pixel: t(k) = start + k step
// texels x 65536, within `margin` of size x (the general path's coordinate for pixel k) for
// every k below `count`.
struct FixedAxis {
  int32_t start;
  int32_t step;
  int32_t margin;
};

// False when the stepped values would leave 32 bits or the bound grows too wide to help.
// `first` is the general path's coordinate at the first pixel.
CVA_AVX2 bool SetUpAxis(double first, int32_t count, int32_t size, double step, double drift,
                        double drift_per_pixel, FixedAxis& axis) {
  const double n = count;
  const double start = std::nearbyint(first * static_cast<double>(size) * 65536.0);
  if (!(std::fabs(start) + n * std::fabs(step) < 0x1p30)) return false;  // also NaN
  const double bound = drift + n * drift_per_pixel;
  if (!(bound < 4096)) return false;
  axis = {static_cast<int32_t>(start), static_cast<int32_t>(step),
          static_cast<int32_t>(std::ceil(bound))};
  return true;
}

// Lanes of `t` (16.16 texel coordinates) that lie within `margin` of a texel boundary. The
// general path's texel is floor(coordinate + 1/512): the boundary sits 1/512 texel (128 units)
// below each whole texel.
CVA_AVX2 __m256i NearBoundary(__m256i t, int32_t margin) {
  const __m256i phase = _mm256_and_si256(_mm256_add_epi32(t, _mm256_set1_epi32(128 + margin)),
                                         _mm256_set1_epi32(0xFFFF));
  return _mm256_cmpgt_epi32(_mm256_set1_epi32(2 * margin + 1), phase);
}

CVA_AVX2 __m256i TexelOf(__m256i t, int32_t size) {
  return _mm256_and_si256(_mm256_srai_epi32(_mm256_add_epi32(t, _mm256_set1_epi32(128)), 16),
                          _mm256_set1_epi32(size - 1));
}

}  // namespace

CVA_AVX2 void DrawTexturedSpanAvx2(const TexturedSpan& s, int32_t count, uint8_t* dest) {
  // The general path's coordinates at the first pixel.
  const double la = s.wa * s.inv_area;
  const double lb = s.wb * s.inv_area;
  const double lc = s.wc * s.inv_area;
  FixedAxis u, v;
  if (!SetUpAxis(la * s.au + lb * s.bu + lc * s.cu, count + 8, s.texture_width, s.fixed_step_u,
                 s.drift_u, s.drift_per_pixel_u, u) ||
      !SetUpAxis(la * s.av + lb * s.bv + lc * s.cv, count + 8, s.texture_height, s.fixed_step_v,
                 s.drift_v, s.drift_per_pixel_v, v)) {
    DrawExact(s, 0, count, dest);
    return;
  }
  const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
  __m256i tu = _mm256_add_epi32(_mm256_set1_epi32(u.start),
                                _mm256_mullo_epi32(lanes, _mm256_set1_epi32(u.step)));
  __m256i tv = _mm256_add_epi32(_mm256_set1_epi32(v.start),
                                _mm256_mullo_epi32(lanes, _mm256_set1_epi32(v.step)));
  const __m256i u_step = _mm256_set1_epi32(u.step * 8);
  const __m256i v_step = _mm256_set1_epi32(v.step * 8);
  const __m128i row_shift =
      _mm_cvtsi32_si128(std::countr_zero(static_cast<uint32_t>(s.texture_width)));
  const __m256i alpha = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  for (int32_t k = 0; k < count; k += 8) {
    const int32_t valid = std::min(8, count - k);
    const __m256i in_span = _mm256_cmpgt_epi32(_mm256_set1_epi32(valid), lanes);
    const __m256i near = _mm256_and_si256(
        in_span, _mm256_or_si256(NearBoundary(tu, u.margin), NearBoundary(tv, v.margin)));
    if (!_mm256_testz_si256(near, near)) {
      DrawExact(s, k, k + valid, dest);
    } else {
      const __m256i index = _mm256_add_epi32(
          _mm256_sll_epi32(TexelOf(tv, s.texture_height), row_shift), TexelOf(tu, s.texture_width));
      const __m256i texels = LoadEight(s.texels, index);
      // Fully transparent texels leave the pixels as they are.
      if (!_mm256_testz_si256(_mm256_and_si256(texels, in_span), alpha)) {
        int* out = reinterpret_cast<int*>(dest + static_cast<size_t>(k) * 4);
        if (valid == 8) {
          // Opaque texels replace the pixels: no need to read them.
          const __m256i opaque = _mm256_cmpeq_epi32(_mm256_and_si256(texels, alpha), alpha);
          const __m256i result =
              _mm256_movemask_epi8(opaque) == -1
                  ? texels
                  : BlendEight(texels, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(out)));
          _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), result);
        } else {
          const __m256i under = _mm256_maskload_epi32(out, in_span);
          _mm256_maskstore_epi32(out, in_span, BlendEight(texels, under));
        }
      }
    }
    tu = _mm256_add_epi32(tu, u_step);
    tv = _mm256_add_epi32(tv, v_step);
  }
}

}  // namespace cva

#endif
