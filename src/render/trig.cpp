#include "render/trig.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace cva {
namespace {

constexpr double kHalfPi = 0x1.921fb54442d18p+0;
constexpr double kPi = 0x1.921fb54442d18p+1;
constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;
// pi / 2 in three parts: the first two have 29 significant bits, so that their products with a
// quadrant count below 2^24 are exact doubles.
constexpr double kHalfPi1 = 0x1.921fb54p+0;
constexpr double kHalfPi2 = 0x1.10b4611p-30;
constexpr double kHalfPi3 = 0x1.4c4c6628b80dcp-59;

// The first 320 bits of 2 / pi, for reducing arguments of 2^24 and more.
constexpr uint32_t kTwoOverPiBits[] = {0xA2F9836E, 0x4E441529, 0xFC2757D1, 0xF534DDC0, 0xDB629599,
                                       0x3C439041, 0xFE5163AB, 0xDEBBC561, 0xB7246E3A, 0x424DD2E0};

// Rounds to the nearest integer, ties to even, for |v| < 2^51: adding 1.5 x 2^52 leaves no
// fraction bits, in plain IEEE arithmetic that every build performs alike (the compiler may not
// fold the two steps: without fast-math it keeps every rounding).
double RoundToInteger(double v) {
  constexpr double kShifter = 0x1.8p52;
  const double shifted = v + kShifter;
  return shifted - kShifter;
}

// Bit `j` of 2 / pi, where bit 1 is worth 1/2.
unsigned TwoOverPiBit(int j) {
  if (j < 1) return 0;
  const int index = (j - 1) / 32;
  return (kTwoOverPiBits[index] >> (31 - (j - 1) % 32)) & 1u;
}

struct Reduced {
  double r;  // within about [-pi/4, pi/4]
  unsigned quadrant;
};

// |x| = r + quadrant x pi/2 (modulo 2 pi), for finite x >= 0.
Reduced Reduce(float x) {
  const double v = x;
  if (x < 0x1p24f) {
    const double k = RoundToInteger(v * kTwoOverPi);
    const double r = ((v - k * kHalfPi1) - k * kHalfPi2) - k * kHalfPi3;
    return {r, static_cast<unsigned>(static_cast<int64_t>(k) & 3)};
  }
  // x = m x 2^e with m an integer below 2^24 and e >= 1. Bits of 2 / pi worth more than
  // 2^(1 - e) add multiples of 4 to x x 2 / pi, which the quadrant ignores, so a 96-bit window
  // from that bit on gives the quadrant and 94 bits of fraction.
  uint32_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  const int e = static_cast<int>((bits >> 23) & 0xff) - 127 - 23;
  const uint64_t m = (bits & 0x7fffff) | 0x800000;
  unsigned __int128 window = 0;
  for (int j = e - 1; j < e - 1 + 96; ++j) window = (window << 1) | TwoOverPiBit(j);
  const unsigned __int128 product = (m * window) & ((static_cast<unsigned __int128>(1) << 96) - 1);
  unsigned quadrant = static_cast<unsigned>(product >> 94);
  __int128 fraction =
      static_cast<__int128>(product & ((static_cast<unsigned __int128>(1) << 94) - 1));
  if (fraction >= (static_cast<__int128>(1) << 93)) {
    fraction -= static_cast<__int128>(1) << 94;
    quadrant = (quadrant + 1) & 3;
  }
  return {static_cast<double>(fraction) * 0x1p-94 * kHalfPi, quadrant};
}

// Taylor coefficients, highest terms far below a double's precision on |r| <= pi/4:
// sin r = r + r^3 (S1 + S2 r^2 + ... + S7 r^12), cos r = 1 + r^2 (C1 + C2 r^2 + ... + C8 r^14).
constexpr double kS1 = -1.0 / 6, kS2 = 1.0 / 120, kS3 = -1.0 / 5040, kS4 = 1.0 / 362880,
                 kS5 = -1.0 / 39916800, kS6 = 1.0 / 6227020800, kS7 = -1.0 / 1307674368000;
constexpr double kC1 = -1.0 / 2, kC2 = 1.0 / 24, kC3 = -1.0 / 720, kC4 = 1.0 / 40320,
                 kC5 = -1.0 / 3628800, kC6 = 1.0 / 479001600, kC7 = -1.0 / 87178291200,
                 kC8 = 1.0 / 20922789888000;

// The polynomials in pairs of terms (Estrin's scheme): the pairs do not wait for each other,
// so a rotation costs about half the latency of one long Horner chain.
double SinPolynomial(double r) {
  const double z = r * r, z2 = z * z, z4 = z2 * z2;
  const double p = ((kS1 + z * kS2) + z2 * (kS3 + z * kS4)) + z4 * ((kS5 + z * kS6) + z2 * kS7);
  return r + r * z * p;
}

double CosPolynomial(double r) {
  const double z = r * r, z2 = z * z, z4 = z2 * z2;
  const double p =
      ((kC1 + z * kC2) + z2 * (kC3 + z * kC4)) + z4 * ((kC5 + z * kC6) + z2 * (kC7 + z * kC8));
  return 1.0 + z * p;
}

// The series atan u = u (1 - u^2/3 + u^4/5 - ...), highest term first.
constexpr double kAtanTerms[] = {1.0 / 21,  -1.0 / 19, 1.0 / 17, -1.0 / 15, 1.0 / 13,
                                 -1.0 / 11, 1.0 / 9,   -1.0 / 7, 1.0 / 5,   -1.0 / 3};

// atan(t) for 0 <= t <= 1: two halvings, atan(t) = 2 atan(t / (1 + sqrt(1 + t^2))), bring t
// below tan(pi/16) < 0.2, where the series converges quickly. sqrt is exactly rounded in IEEE
// arithmetic, so this is as deterministic as the rest.
double AtanUnit(double t) {
  for (int i = 0; i < 2; ++i) t = t / (1.0 + std::sqrt(1.0 + t * t));
  const double t2 = t * t;
  double sum = 0.0;
  for (const double term : kAtanTerms) sum = (sum + term) * t2;
  return 4.0 * (t + t * sum);
}

}  // namespace

// Sine and cosine of a float from one argument reduction.
SineCosine SinAndCos(float x) {
  if (!std::isfinite(x)) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    return {nan, nan};
  }
  if (x == 0.0f) return {x, 1.0f};  // keeps the sign of a zero, as sin does
  const bool negative = std::signbit(x);
  const Reduced reduced = Reduce(std::fabs(x));
  const double s = SinPolynomial(reduced.r);
  const double c = CosPolynomial(reduced.r);
  // sin and cos of r + quadrant x pi/2.
  const double sines[4] = {s, c, -s, -c};
  const double cosines[4] = {c, -s, -c, s};
  const double sine = sines[reduced.quadrant];
  return {static_cast<float>(negative ? -sine : sine),
          static_cast<float>(cosines[reduced.quadrant])};
}

float Sin(float radians) {
  return SinAndCos(radians).sine;
}

float Cos(float radians) {
  return SinAndCos(radians).cosine;
}

float Atan2(float y, float x) {
  if (std::isnan(x) || std::isnan(y)) return std::numeric_limits<float>::quiet_NaN();
  const double ay = std::fabs(y);
  const double ax = std::fabs(x);
  double angle;
  if (std::isinf(y) && std::isinf(x)) {
    angle = kPi / 4;
  } else if (ay <= ax) {
    angle = ax == 0.0 ? 0.0 : AtanUnit(ay / ax);  // also y finite, x infinite
  } else {
    angle = kHalfPi - AtanUnit(ax / ay);  // ay / ax > 1, also y infinite
  }
  if (std::signbit(x)) angle = kPi - angle;
  return static_cast<float>(std::signbit(y) ? -angle : angle);
}

}  // namespace cva
