// Pictures of fixtures that exercise one drawing feature each, compared with goldens that were
// checked by eye when they were made (tests/golden/README.md says what each shows).
#include <gtest/gtest.h>

#include <array>
#include <ostream>

#include "contact_sheet.h"
#include "golden_rig.h"
#include "render/draw_state.h"
#include "render/matrix.h"
#include "render/soft/soft_provider.h"

namespace cva::testing {
namespace {

// The renderer is deterministic, so pictures must match almost exactly; the small tolerance
// leaves room for float rounding in other compilers.
constexpr CompareLimits kExact{2, 0};
// Glyphs come from the installed fonts and FreeType, whose hinting may move a few edge pixels
// between releases.
constexpr CompareLimits kGlyphs{24, 60};

struct GoldenCase {
  const char* fixture;
  int32_t frame;
  const char* golden;
  uint32_t step_ms = 0;  // 0: the document's frame duration
  CompareLimits limits = kExact;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const GoldenCase& c, std::ostream* os) {
  *os << c.fixture << ", frame " << c.frame;
}

class GoldenTest : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenTest, FrameMatchesGolden) {
  const GoldenCase& c = GetParam();
  render_tool::RgbaImage picture;
  if (!RenderFixture(c.fixture, c.frame, picture, c.step_ms)) return;
  ExpectMatchesGolden(c.golden, picture, c.limits);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, GoldenTest,
                         ::testing::Values(GoldenCase{"golden_blend", 1, "blend"},
                                           GoldenCase{"golden_mask", 1, "mask"},
                                           GoldenCase{"golden_tiling", 1, "tiling"},
                                           GoldenCase{"golden_swap", 1, "swap"},
                                           GoldenCase{"golden_warp", 1, "warp"},
                                           GoldenCase{"golden_number", 1, "number"},
                                           GoldenCase{"golden_inherit", 1, "inherit"},
                                           GoldenCase{"golden_nested", 2, "nested"},
                                           // Long frames reveal the whole text at once.
                                           GoldenCase{"golden_text", 2, "text", 1000, kGlyphs}),
                         [](const ::testing::TestParamInfo<GoldenCase>& info) {
                           return std::string(info.param.golden);
                         });

// The reveal one frame at a time: frames 0 to 11 side by side on one sheet.
TEST(GoldenRevealTest, GlyphsAppearOnePerFrameWithAPause) {
  render_tool::RenderOptions options;
  options.input = std::string(CVA_FIXTURE_DIR) + "/golden_reveal.cva";
  render_tool::RenderSession session(options);
  ASSERT_TRUE(session.Load()) << session.error();
  std::vector<render_tool::RgbaImage> frames;
  for (int32_t f = 0; f < 12; ++f) {
    if (f > 0) session.Step();
    frames.push_back(ToImage(session.frame()));
  }
  std::vector<const render_tool::RgbaImage*> pointers;
  for (const auto& frame : frames) pointers.push_back(&frame);
  ExpectMatchesGolden("reveal", render_tool::ContactSheet(pointers, frames[0].width), kGlyphs);
}

// The four blend modes of the draw state, of which documents reach only the first two: each
// column draws a half-transparent orange quad over a black-to-white ramp.
TEST(GoldenBlendStateTest, EveryBlendModeOverARamp) {
  SoftProvider provider(160, 64);
  provider.SetClearColour({0, 0, 0, 255});
  provider.BeginFrame();
  DrawState state(provider);
  const std::array<SoftVertex, 4> unit = {SoftVertex{0, 0, 0, 0}, SoftVertex{1, 0, 1, 0},
                                          SoftVertex{1, 1, 1, 1}, SoftVertex{0, 1, 0, 1}};
  state.SetBlendMode(DrawState::kBlendNormal);
  state.Apply();
  for (int32_t row = 0; row < 8; ++row) {  // the ramp: eight grey bands, black to white
    const uint8_t grey = static_cast<uint8_t>(row * 255 / 7);
    const Matrix4 band = Multiply(Matrix4::Scaling(160.0f, 8.0f, 1.0f),
                                  Matrix4::Translation(0.0f, row * 8.0f, 0.0f));
    provider.DrawFan(unit, band, {grey, grey, grey, 255}, nullptr, Matrix4::Identity());
  }
  for (int32_t mode = 0; mode < 4; ++mode) {
    state.SetBlendMode(mode);
    state.Apply();
    const Matrix4 quad = Multiply(Matrix4::Scaling(32.0f, 56.0f, 1.0f),
                                  Matrix4::Translation(8.0f + mode * 38.0f, 4.0f, 0.0f));
    provider.DrawFan(unit, quad, {255, 140, 40, 160}, nullptr, Matrix4::Identity());
  }
  ExpectMatchesGolden("blend_states", ToImage(provider.framebuffer()), kExact);
}

}  // namespace
}  // namespace cva::testing
