// The Direct3D 9 backend against the software renderer: every golden fixture played through
// the Player with D3d9Graphics at cvarender's frame numbers, its back buffer read before it is
// presented and compared with the golden picture (which golden_test holds to the software
// renderer). Prints a table of the agreement; the limits are those of each kind of picture.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "contact_sheet.h"
#include "d3d9_session.h"
#include "d3dx_png.h"
#include "image_compare.h"

namespace cva::testing {
namespace {

using d3d9_session::D3d9Session;
using d3d9_session::SessionOptions;

render_tool::RgbaImage ToImage(const RgbaBitmap& bitmap) {
  render_tool::RgbaImage image;
  image.width = bitmap.width();
  image.height = bitmap.height();
  image.pixels = bitmap.pixels();
  return image;
}

RgbaBitmap ToBitmap(const render_tool::RgbaImage& image) {
  RgbaBitmap bitmap(image.width, image.height);
  bitmap.mutable_pixels() = image.pixels;
  return bitmap;
}

// How much of a picture must agree with its golden: the share of pixels whose channels all lie
// within 2 of the golden's, the same share when a pixel may match the golden at one of its
// eight neighbours instead, and the largest difference of a channel.
struct Agreement {
  double min_share = 0.995;
  double min_shifted_share = 0.995;
  int32_t max_difference = 255;
};
// Both renderers point-sample with the same rules, so pictures agree but for rounding of the
// blend arithmetic.
constexpr Agreement kPictures{0.995, 0.995, 255};
// Images at integer positions and scales put pixel centres exactly on texel edges. There the
// texel a point sampler picks is decided by the last bit of the interpolated coordinate: the
// software renderer takes the exact value, Wine's device lands on either side of the edge. A
// texel edge then moves by one pixel, and where the texel before the edge lies across the wrap
// the opposite edge of the image shows as a line one pixel wide.
constexpr Agreement kTexelEdges{0.975, 0.995, 255};
// Glyphs come from GDI here and from FreeType there, from the same faces.
constexpr Agreement kText{0.99, 0.99, 24};

struct Case {
  const char* fixture;
  int32_t frame;  // the last frame; frames 0 to it form a contact sheet when `sheet` is set
  const char* golden;
  uint32_t step_ms = 0;  // 0: the document's frame duration
  Agreement limits = kPictures;
  bool sheet = false;
};

const Case kCases[] = {
    {"golden_blend", 1, "blend"},
    // The 20 x 12 ring of these two is stretched to 32 x 16 by the image loader as by the
    // software renderer (nearest texel, source x = x * 20 / 32); what differs are texel edges.
    {"golden_mask", 1, "mask", 0, kTexelEdges},
    {"golden_swap", 1, "swap", 0, kTexelEdges},
    {"golden_tiling", 1, "tiling", 0, kTexelEdges},
    {"golden_warp", 1, "warp"},
    {"golden_number", 1, "number", 0, kTexelEdges},
    {"golden_inherit", 1, "inherit"},
    {"golden_nested", 2, "nested"},
    {"golden_text", 2, "text", 1000, kText},  // long frames reveal the whole text at once
    {"golden_reveal", 11, "reveal", 0, kText, true},
};

struct Row {
  std::string name;
  int64_t pixels = 0;
  double share = 0.0;
  double shifted_share = 0.0;
  int32_t largest = 0;
};

bool Near(const uint8_t* a, const uint8_t* b, int32_t tolerance) {
  for (int c = 0; c < 4; ++c)
    if (std::abs(int32_t{a[c]} - b[c]) > tolerance) return false;
  return true;
}

// The share of pixels within `tolerance` of the expected pixel at the same place or at one of
// its eight neighbours. The pictures have the same size.
double ShiftedShare(const render_tool::RgbaImage& expected, const render_tool::RgbaImage& actual,
                    int32_t tolerance) {
  int64_t matched = 0;
  for (int32_t y = 0; y < actual.height; ++y)
    for (int32_t x = 0; x < actual.width; ++x) {
      bool found = false;
      for (int32_t dy = -1; dy <= 1 && !found; ++dy)
        for (int32_t dx = -1; dx <= 1 && !found; ++dx) {
          const int32_t ex = x + dx, ey = y + dy;
          found = ex >= 0 && ey >= 0 && ex < expected.width && ey < expected.height &&
                  Near(expected.At(ex, ey), actual.At(x, y), tolerance);
        }
      matched += found ? 1 : 0;
    }
  return static_cast<double>(matched) / (static_cast<double>(actual.width) * actual.height);
}

// Plays the case and returns its picture (the frame, or the contact sheet of frames 0 to the
// last), empty when the document does not load.
render_tool::RgbaImage Render(const Case& c) {
  SessionOptions options;
  options.input = std::string(CVA_FIXTURE_DIR) + "/" + c.fixture + ".cva";
  if (c.step_ms > 0) options.step_ms = c.step_ms;
  D3d9Session session(options);
  if (!session.Load()) {
    ADD_FAILURE() << c.fixture << ": " << session.error();
    return {};
  }
  std::vector<render_tool::RgbaImage> frames{ToImage(session.frame())};
  while (session.frame_number() < c.frame) {
    session.Step();
    frames.push_back(ToImage(session.frame()));
  }
  if (!c.sheet) return frames.back();
  std::vector<const render_tool::RgbaImage*> pointers;
  for (const auto& frame : frames) pointers.push_back(&frame);
  return render_tool::ContactSheet(pointers, frames[0].width);
}

TEST(D3d9AgreementTest, EveryGoldenFixtureAgreesWithTheSoftwareRenderer) {
  std::vector<Row> rows;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.fixture);
    const render_tool::RgbaImage actual = Render(c);
    if (actual.empty()) continue;
    RgbaBitmap golden_bitmap;
    const std::string golden = std::string(CVA_GOLDEN_DIR) + "/" + c.golden + ".png";
    ASSERT_TRUE(d3d9_session::ReadImageD3dx(golden, golden_bitmap)) << golden;
    const render_tool::RgbaImage expected = ToImage(golden_bitmap);
    const CompareResult result = CompareImages(expected, actual, {2, 0});
    ASSERT_TRUE(result.same_size) << c.golden << ": " << actual.width << " x " << actual.height
                                  << " drawn, " << expected.width << " x " << expected.height
                                  << " in the golden";
    Row row{c.golden, int64_t{expected.width} * expected.height};
    row.share = 1.0 - static_cast<double>(result.outliers) / static_cast<double>(row.pixels);
    row.shifted_share = ShiftedShare(expected, actual, 2);
    row.largest = result.largest_difference;
    rows.push_back(row);
    const bool agrees = row.share >= c.limits.min_share &&
                        row.shifted_share >= c.limits.min_shifted_share &&
                        row.largest <= c.limits.max_difference;
    if (!agrees) {
      const std::string out = std::string(CVA_OUT_DIR) + "/" + c.golden + ".d3d9.png";
      CreateDirectoryA(CVA_OUT_DIR, nullptr);
      d3d9_session::WritePngD3dx(out, ToBitmap(actual));
      ADD_FAILURE() << c.golden << ": " << result.Describe() << "; drawn picture in " << out;
    }
  }
  std::printf("%-10s %8s %12s %14s %8s\n", "fixture", "pixels", "within +-2", "+-2 shifted 1",
              "largest");
  for (const Row& r : rows)
    std::printf("%-10s %8lld %11.3f%% %13.3f%% %8d\n", r.name.c_str(),
                static_cast<long long>(r.pixels), r.share * 100.0, r.shifted_share * 100.0,
                r.largest);
}

}  // namespace
}  // namespace cva::testing
