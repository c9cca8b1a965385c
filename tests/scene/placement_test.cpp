// The direct placement matrix must equal, bit for bit, the chain of transform products it
// replaces on the frame path.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "render/matrix_transform.h"
#include "scene/scene_transform.h"

namespace cva {
namespace {

Matrix4 ThroughTransforms(const PlacementValues& values) {
  MatrixTransform out;
  MatrixTransform scratch;
  BuildPlacement(values, out, scratch);
  return out.matrix();
}

bool SameBits(const Matrix4& a, const Matrix4& b) {
  return std::memcmp(&a, &b, sizeof(Matrix4)) == 0;
}

TEST(PlacementMatrix, MatchesTheTransformProductsBitForBit) {
  constexpr float kInf = std::numeric_limits<float>::infinity();
  constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
  std::vector<PlacementValues> cases;
  const float numbers[] = {0.0f, -0.0f, 1.0f, -1.0f, 0.1f, -3.75f, 123456.7f, 1e-30f, 1e18f};
  const float angles[] = {0.0f, -0.0f, 0.5f, -2.0f, 3.14159265f, 6.28f, 1e6f};
  for (float a : numbers) {
    for (float angle : angles) {
      cases.push_back({{a, -a}, angle, {a, 1.0f}, {-a, a}});
      cases.push_back({{1.0f, a}, angle, {-a, a}, {0.0f, a}});
    }
  }
  // Outside the exact range: the full products, overflow and non-finite values included.
  for (float odd : {1e19f, 3e38f, -3e38f, kInf, -kInf, kNaN}) {
    cases.push_back({{odd, 1.0f}, 0.3f, {2.0f, 2.0f}, {1.0f, 1.0f}});
    cases.push_back({{1.0f, 1.0f}, 0.3f, {odd, 2.0f}, {1.0f, 1.0f}});
    cases.push_back({{1.0f, 1.0f}, 0.3f, {2.0f, 2.0f}, {1.0f, odd}});
    cases.push_back({{1.0f, 1.0f}, odd, {2.0f, 2.0f}, {1.0f, 1.0f}});
  }
  for (const PlacementValues& v : cases) {
    // Written over a matrix full of other values: every element must be written.
    Matrix4 written;
    for (auto& row : written.m) row = {7.0f, 7.0f, 7.0f, 7.0f};
    WritePlacementMatrix(v, written);
    EXPECT_TRUE(SameBits(written, ThroughTransforms(v)))
        << "position " << v.position.x << "," << v.position.y << " angle " << v.angle << " scale "
        << v.scale.x << "," << v.scale.y << " pivot " << v.pivot.x << "," << v.pivot.y;
  }
}

// Random placements drawn from signed zeros, small, ordinary and large magnitudes of either
// sign: the shortened product must keep the bits of the full one for all of them.
TEST(PlacementMatrix, RandomPlacementsMatchBitForBit) {
  std::mt19937 random(20261208);
  const auto pick = [&random]() {
    switch (random() % 6) {
      case 0:
        return random() % 2 ? 0.0f : -0.0f;
      case 1:
        return std::ldexp(static_cast<float>(random() % 1000) - 500.0f, -40);
      case 2:
        return static_cast<float>(random() % 2001) / 10.0f - 100.0f;
      case 3:
        return std::ldexp(static_cast<float>(random() % 20001) - 10000.0f, 45);
      default:
        return std::uniform_real_distribution<float>(-1000.0f, 1000.0f)(random);
    }
  };
  int mismatches = 0;
  for (int i = 0; i < 200000; ++i) {
    const PlacementValues v{{pick(), pick()}, pick(), {pick(), pick()}, {pick(), pick()}};
    Matrix4 written;
    WritePlacementMatrix(v, written);
    if (!SameBits(written, ThroughTransforms(v)) && ++mismatches <= 5) {
      ADD_FAILURE() << "position " << v.position.x << "," << v.position.y << " angle " << v.angle
                    << " scale " << v.scale.x << "," << v.scale.y << " pivot " << v.pivot.x << ","
                    << v.pivot.y;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace cva
