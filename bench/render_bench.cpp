// The software renderer under load: 1,000 image nodes of 64 x 64 pixels, each moving and
// turning, played at 800 x 600 through the player's frame step (update and draw, the frame
// cleared first). Prints the milliseconds per frame after a warm-up, a checksum of the last
// picture (so that runs can be compared for identical output), and, measured in the same run,
// a memset of the frame's bytes: the fill-rate limit no renderer can beat, with the ratio.
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "png_file.h"
#include "render_bench_scene.h"
#include "render_session.h"

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
using bench::RenderBenchDocument;
using bench::RenderBenchSprite;

render_tool::RgbaImage ToImage(const RgbaBitmap& bitmap) {
  render_tool::RgbaImage image(bitmap.width(), bitmap.height());
  image.pixels = bitmap.pixels();
  return image;
}

uint64_t Checksum(const std::vector<uint8_t>& bytes) {
  uint64_t hash = 1469598103934665603ull;  // FNV-1a
  for (uint8_t b : bytes) hash = (hash ^ b) * 1099511628211ull;
  return hash;
}

double Milliseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

int Run() {
  const auto dir = std::filesystem::temp_directory_path() / "cva_render_bench";
  std::filesystem::create_directories(dir);
  std::string error;
  if (!render_tool::WritePng((dir / kSpriteFile).string(), ToImage(RenderBenchSprite()), error)) {
    std::fprintf(stderr, "render_bench: %s\n", error.c_str());
    return 1;
  }
  const std::vector<uint8_t> document = RenderBenchDocument();
  std::ofstream((dir / "bench.cva").string(), std::ios::binary)
      .write(reinterpret_cast<const char*>(document.data()),
             static_cast<std::streamsize>(document.size()));

  render_tool::RenderOptions options;
  options.input = (dir / "bench.cva").string();
  options.size = ImageSize{kWidth, kHeight};
  options.step_ms = kStepMs;
  render_tool::RenderSession session(options);
  if (!session.Load()) {
    std::fprintf(stderr, "render_bench: %s\n", session.error().c_str());
    return 1;
  }
  for (int i = 0; i < kWarmUpFrames; ++i) session.Step();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kMeasuredFrames; ++i) session.Step();
  const double frame_ms = Milliseconds(std::chrono::steady_clock::now() - start) / kMeasuredFrames;
  const uint64_t checksum = Checksum(session.frame().pixels());

  // The fill-rate limit: writing every byte of a frame once.
  std::vector<uint8_t> frame(static_cast<size_t>(kWidth) * kHeight * 4);
  const auto fill_start = std::chrono::steady_clock::now();
  for (int i = 0; i < kMeasuredFrames; ++i) {
    std::memset(frame.data(), i & 0xff, frame.size());
    asm volatile("" : : "r"(frame.data()) : "memory");  // keep every memset
  }
  const double fill_ms =
      Milliseconds(std::chrono::steady_clock::now() - fill_start) / kMeasuredFrames;

  std::printf("render_bench: %d moving %d x %d image nodes at %d x %d, %d frames after %d\n",
              kNodes, kSide, kSide, kWidth, kHeight, kMeasuredFrames, kWarmUpFrames);
  std::printf("  frame (update + draw): %.3f ms\n", frame_ms);
  std::printf("  memset of a frame:     %.4f ms\n", fill_ms);
  std::printf("  ratio:                 %.0f x the fill-rate limit\n",
              fill_ms > 0.0 ? frame_ms / fill_ms : 0.0);
  std::printf("  checksum of frame %d: %016" PRIx64 "\n", session.frame_number(), checksum);
  std::filesystem::remove_all(dir);
  return 0;
}

}  // namespace
}  // namespace cva

int main() {
  return cva::Run();
}
