#pragma once

// Renders fixtures through the cvarender session and compares the pictures with the golden
// PNGs of tests/golden/images. With CVA_UPDATE_GOLDENS=1 in the environment the rendered
// pictures replace the goldens instead (see README.md).

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "image_compare.h"
#include "png_file.h"
#include "render_session.h"

namespace cva::testing {

inline bool UpdatingGoldens() {
  const char* value = std::getenv("CVA_UPDATE_GOLDENS");
  return value && std::string(value) == "1";
}

inline render_tool::RgbaImage ToImage(const SoftTexture& texture) {
  render_tool::RgbaImage image;
  image.width = texture.width();
  image.height = texture.height();
  image.pixels = texture.pixels();
  return image;
}

// Compares `actual` with images/<name>.png, or replaces that file when goldens are being
// updated. A mismatch leaves the rendered picture in the build tree as <name>.actual.png.
inline void ExpectMatchesGolden(const std::string& name, const render_tool::RgbaImage& actual,
                                CompareLimits limits) {
  const std::string golden = std::string(CVA_GOLDEN_DIR) + "/" + name + ".png";
  std::string error;
  if (UpdatingGoldens()) {
    ASSERT_TRUE(render_tool::WritePng(golden, actual, error)) << error;
    GTEST_SKIP() << "golden " << golden << " rewritten";
  }
  render_tool::RgbaImage expected;
  ASSERT_TRUE(render_tool::ReadPng(golden, expected, error))
      << error << " (run with CVA_UPDATE_GOLDENS=1 to create it)";
  const CompareResult result = CompareImages(expected, actual, limits);
  if (!result.matches) {
    const std::string out = std::string(CVA_GOLDEN_OUT_DIR) + "/" + name + ".actual.png";
    std::filesystem::create_directories(CVA_GOLDEN_OUT_DIR);
    render_tool::WritePng(out, actual, error);
    ADD_FAILURE() << name << ": " << result.Describe() << "; rendered picture in " << out;
  }
}

// Plays fixture <fixture>.cva from tests/fixtures and returns frame `frame`; fails the test
// when the document does not load.
// `step_ms` 0 plays the document's own frame duration per frame.
inline bool RenderFixture(const std::string& fixture, int32_t frame, render_tool::RgbaImage& out,
                          uint32_t step_ms = 0) {
  render_tool::RenderOptions options;
  options.input = std::string(CVA_FIXTURE_DIR) + "/" + fixture + ".cva";
  if (step_ms > 0) options.step_ms = step_ms;
  render_tool::RenderSession session(options);
  if (!session.Load()) {
    ADD_FAILURE() << fixture << ": " << session.error();
    return false;
  }
  while (session.frame_number() < frame) session.Step();
  out = ToImage(session.frame());
  return true;
}

}  // namespace cva::testing
