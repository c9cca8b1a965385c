#include "render/trig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace cva {
namespace {

uint32_t Bits(float f) {
  uint32_t u;
  std::memcpy(&u, &f, sizeof u);
  return u;
}

// The inputs of the sweeps below: small steps across +-700 radians, then arbitrary bit
// patterns (huge and tiny magnitudes, whose reduction takes the long path).
template <typename Visit>
void Sweep(Visit visit) {
  uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  for (int i = 0; i < 400000; ++i) {
    float x = (i - 200000) * 0.0035f;
    float y = static_cast<float>(static_cast<int32_t>(next()) % 20001) * 0.013f;
    if (i >= 200000) {
      const uint32_t b = next();
      std::memcpy(&x, &b, sizeof x);
      if (!std::isfinite(x)) x = 1.0f;
    }
    visit(x, y);
  }
}

TEST(TrigTest, ZerosInfinitiesAndNanFollowTheCRules) {
  const float inf = std::numeric_limits<float>::infinity();
  const float pi = 3.14159265f;
  EXPECT_EQ(Bits(Sin(-0.0f)), Bits(-0.0f));
  EXPECT_EQ(Cos(0.0f), 1.0f);
  EXPECT_TRUE(std::isnan(Sin(inf)) && std::isnan(Cos(-inf)) && std::isnan(Sin(NAN)));
  EXPECT_EQ(Bits(Atan2(-0.0f, 1.0f)), Bits(-0.0f));
  EXPECT_EQ(Atan2(0.0f, -0.0f), pi);
  EXPECT_EQ(Atan2(-0.0f, -1.0f), -pi);
  EXPECT_EQ(Atan2(1.0f, 0.0f), pi / 2);
  EXPECT_EQ(Atan2(inf, -inf), 3 * pi / 4);
  EXPECT_EQ(Atan2(-inf, inf), -pi / 4);
  EXPECT_EQ(Atan2(1.0f, -inf), pi);
  EXPECT_TRUE(std::isnan(Atan2(NAN, 1.0f)) && std::isnan(Atan2(1.0f, NAN)));
}

#ifndef _WIN32
// Against the long double functions of the C library (a dozen more bits): every result is the
// correctly rounded float, or its neighbour.
TEST(TrigTest, ResultsAreWithinOneUnitInTheLastPlace) {
  auto ulps = [](float a, float b) {
    return std::fabs(static_cast<double>(a) - b) /
           (std::nextafter(std::fabs(b), INFINITY) - std::fabs(b));
  };
  Sweep([&](float x, float y) {
    ASSERT_LE(ulps(Sin(x), static_cast<float>(sinl(x))), 1.0) << x;
    ASSERT_LE(ulps(Cos(x), static_cast<float>(cosl(x))), 1.0) << x;
    ASSERT_LE(ulps(Atan2(y, x), static_cast<float>(atan2l(y, x))), 1.0) << y << " " << x;
  });
}
#endif

// The same bits in every build: this checksum holds natively and in the Windows build under
// Wine (whose C runtime's own sinf, cosf and atan2f give other last bits).
TEST(TrigTest, EveryBuildGivesTheSameBits) {
  uint64_t hash = 1469598103934665603u;
  auto mix = [&hash](float v) { hash = (hash ^ Bits(v)) * 1099511628211u; };
  Sweep([&](float x, float y) {
    mix(Sin(x));
    mix(Cos(x));
    mix(Atan2(y, x));
  });
  EXPECT_EQ(hash, 10084076902764386481u);
}

}  // namespace
}  // namespace cva
