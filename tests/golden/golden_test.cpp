// Pictures of fixtures that exercise one drawing feature each, compared with goldens that were
// checked by eye when they were made (tests/golden/README.md says what each shows).
#include <gtest/gtest.h>

#include "golden_rig.h"

namespace cva::testing {
namespace {

// The renderer is deterministic, so pictures must match almost exactly; the small tolerance
// leaves room for float rounding in other compilers.
constexpr CompareLimits kExact{2, 0};

struct GoldenCase {
  const char* fixture;
  int32_t frame;
  const char* golden;
};

class GoldenTest : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenTest, FrameMatchesGolden) {
  const GoldenCase& c = GetParam();
  render_tool::RgbaImage picture;
  if (!RenderFixture(c.fixture, c.frame, picture)) return;
  ExpectMatchesGolden(c.golden, picture, kExact);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, GoldenTest,
                         ::testing::Values(GoldenCase{"golden_blend", 1, "blend"},
                                           GoldenCase{"golden_mask", 1, "mask"},
                                           GoldenCase{"golden_tiling", 1, "tiling"},
                                           GoldenCase{"golden_swap", 1, "swap"},
                                           GoldenCase{"golden_warp", 1, "warp"},
                                           GoldenCase{"golden_number", 1, "number"},
                                           GoldenCase{"golden_inherit", 1, "inherit"}),
                         [](const ::testing::TestParamInfo<GoldenCase>& info) {
                           return std::string(info.param.golden);
                         });

}  // namespace
}  // namespace cva::testing
