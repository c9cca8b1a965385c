// The render benchmark's scene through the Direct3D 9 backend: 1,000 moving and turning 64 x 64
// image nodes at 800 x 600, played through the player in a hidden window with the same step,
// warm-up and frame count as render_bench. Prints the milliseconds per frame (update, draw
// and present).
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "d3d9_session.h"
#include "d3dx_png.h"
#include "render_bench_scene.h"

namespace cva {
namespace {

using bench::kHeight;
using bench::kMeasuredFrames;
using bench::kNodes;
using bench::kSide;
using bench::kSpriteFile;
using bench::kStepMs;
using bench::kWarmUpFrames;
using bench::kWidth;

// The clear colour of the document (its background bytes are 0, 0, 0).
constexpr Texel kBackground{0, 0, 0, 255};

int Run() {
  if (!d3d9_session::EnsureDevice()) {
    std::fprintf(stderr, "render_bench_d3d9: Direct3D 9 made no device\n");
    return 1;
  }
  const auto dir = std::filesystem::temp_directory_path() / "cva_render_bench_d3d9";
  std::filesystem::create_directories(dir);
  if (!d3d9_session::WritePngD3dx((dir / kSpriteFile).string(), bench::RenderBenchSprite())) {
    std::fprintf(stderr, "render_bench_d3d9: cannot write the sprite\n");
    return 1;
  }
  const std::vector<uint8_t> document = bench::RenderBenchDocument();
  std::ofstream((dir / "bench.cva").string(), std::ios::binary)
      .write(reinterpret_cast<const char*>(document.data()),
             static_cast<std::streamsize>(document.size()));

  d3d9_session::SessionOptions options;
  options.input = (dir / "bench.cva").string();
  options.size = ImageSize{kWidth, kHeight};
  options.step_ms = kStepMs;
  options.read_back = false;
  int failed_frames = 0;
  {
    d3d9_session::D3d9Session session(options);
    if (!session.Load()) {
      std::fprintf(stderr, "render_bench_d3d9: %s\n", session.error().c_str());
      return 1;
    }
    for (int i = 0; i < kWarmUpFrames; ++i) session.Step();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kMeasuredFrames; ++i) {
      session.Step();
      failed_frames += session.last_status() != 0 ? 1 : 0;
    }
    const double frame_ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count() /
        kMeasuredFrames;
    std::printf("render_bench_d3d9: %d moving %d x %d image nodes at %d x %d, %d frames after %d\n",
                kNodes, kSide, kSide, kWidth, kHeight, kMeasuredFrames, kWarmUpFrames);
    std::printf("  frame (update + draw + present): %.3f ms\n", frame_ms);
    // One more frame, read back: the share of its pixels the images cover.
    session.set_read_back(true);
    session.Step();
    const RgbaBitmap& frame = session.frame();
    int64_t covered = 0;
    for (int32_t y = 0; y < frame.height(); ++y)
      for (int32_t x = 0; x < frame.width(); ++x) covered += frame.At(x, y) != kBackground;
    std::printf("  pixels covered by images in the next frame: %.1f %%\n",
                frame.empty() ? 0.0 : 100.0 * covered / (double{kWidth} * kHeight));
  }
  std::error_code ignored;
  std::filesystem::current_path(dir.parent_path(), ignored);  // the session entered `dir`
  std::filesystem::remove_all(dir, ignored);
  if (failed_frames > 0) {
    std::fprintf(stderr, "render_bench_d3d9: %d frames were not drawn\n", failed_frames);
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace cva

int main() {
  return cva::Run();
}
