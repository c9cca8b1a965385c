// The software renderer under load: 1,000 image nodes of 64 x 64 pixels, each moving and
// turning, played at 800 x 600 through the player's frame step (update and draw, the frame
// cleared first). In one process and frame by frame in turn: the renderer on one thread, the
// renderer on one thread per core, and (when built with pixman) pixman compositing the same
// sprites. Prints the median milliseconds per frame of each after a warm-up, their ratios, a
// memset of the frame's bytes (the fill-rate limit no renderer can beat), and a checksum of the
// last picture, which must be the same for both thread counts.
#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "png_file.h"
#include "render_bench_scene.h"
#include "render_session.h"
#ifdef CVA_BENCH_PIXMAN
#include "pixman_replay.h"
#endif

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

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0.0 : values[values.size() / 2];
}

template <class Work>
double TimeMs(Work&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return Milliseconds(std::chrono::steady_clock::now() - start);
}

// Writes the scene's document (bench.cva) and its image into `dir`.
bool WriteScene(const std::filesystem::path& dir) {
  std::filesystem::create_directories(dir);
  std::string error;
  if (!render_tool::WritePng((dir / kSpriteFile).string(), ToImage(RenderBenchSprite()), error)) {
    std::fprintf(stderr, "render_bench: %s\n", error.c_str());
    return false;
  }
  const std::vector<uint8_t> document = RenderBenchDocument();
  std::ofstream out((dir / "bench.cva").string(), std::ios::binary);
  out.write(reinterpret_cast<const char*>(document.data()),
            static_cast<std::streamsize>(document.size()));
  return static_cast<bool>(out);
}

int Run() {
  const auto dir = std::filesystem::temp_directory_path() / "cva_render_bench";
  if (!WriteScene(dir)) return 1;

  render_tool::RenderOptions options;
  options.input = (dir / "bench.cva").string();
  options.size = ImageSize{kWidth, kHeight};
  options.step_ms = kStepMs;
  options.threads = 1;
  render_tool::RenderSession single(options);
  options.threads = 0;  // one per core
  render_tool::RenderSession threaded(options);
  if (!single.Load() || !threaded.Load()) {
    std::fprintf(stderr, "render_bench: %s%s\n", single.error().c_str(), threaded.error().c_str());
    return 1;
  }
#ifdef CVA_BENCH_PIXMAN
  std::vector<bench::ReplaySprite> sprites;
  single.provider().SetDrawObserver(
      [&](std::span<const SoftVertex>, const Matrix4& world, Colour, const SoftTexture* texture) {
        sprites.push_back({world, texture});
      });
  bench::PixmanReplay pixman(kWidth, kHeight);
#endif
  std::vector<double> single_ms, threaded_ms, pixman_ms;
  for (int i = 0; i < kWarmUpFrames + kMeasuredFrames; ++i) {
    const bool measured = i >= kWarmUpFrames;
#ifdef CVA_BENCH_PIXMAN
    sprites.clear();
#endif
    const double one = TimeMs([&] { single.Step(); });
    const double many = TimeMs([&] { threaded.Step(); });
#ifdef CVA_BENCH_PIXMAN
    const double other = TimeMs([&] { pixman.Draw(sprites); });
    if (measured) pixman_ms.push_back(other);
#endif
    if (measured) {
      single_ms.push_back(one);
      threaded_ms.push_back(many);
    }
  }
  const uint64_t checksum = Checksum(single.frame().pixels());
  const uint64_t threaded_checksum = Checksum(threaded.frame().pixels());

  // The fill-rate limit: writing every byte of a frame once.
  std::vector<uint8_t> frame(static_cast<size_t>(kWidth) * kHeight * 4);
  std::vector<double> fill_ms;
  for (int i = 0; i < kMeasuredFrames; ++i) {
    fill_ms.push_back(TimeMs([&] {
      std::memset(frame.data(), i & 0xff, frame.size());
      asm volatile("" : : "r"(frame.data()) : "memory");  // keep every memset
    }));
  }
  const double fill = Median(fill_ms);
  const double one = Median(single_ms);
  const double many = Median(threaded_ms);
  const int32_t cores = std::max(1, static_cast<int32_t>(std::thread::hardware_concurrency()));

  std::printf(
      "render_bench: %d moving %d x %d image nodes at %d x %d, medians of %d frames after %d\n",
      kNodes, kSide, kSide, kWidth, kHeight, kMeasuredFrames, kWarmUpFrames);
  std::printf("  frame, 1 thread (update + draw):  %8.3f ms\n", one);
  std::printf("  frame, %d threads:                 %8.3f ms\n", threaded.provider().threads(),
              many);
#ifdef CVA_BENCH_PIXMAN
  const double other = Median(pixman_ms);
  const std::vector<uint8_t> theirs = pixman.Rgba();
  const std::vector<uint8_t>& ours = single.frame().pixels();
  size_t same = 0;
  for (size_t p = 0; p + 4 <= ours.size(); p += 4) {
    same += std::equal(ours.begin() + static_cast<std::ptrdiff_t>(p),
                       ours.begin() + static_cast<std::ptrdiff_t>(p + 3),
                       theirs.begin() + static_cast<std::ptrdiff_t>(p))
                ? 1
                : 0;
  }
  std::printf("  pixman, 1 thread, same sprites:   %8.3f ms\n", other);
  std::printf("  ratio 1 thread / pixman:          %8.2f\n", other > 0 ? one / other : 0.0);
  std::printf("  ratio %d threads / pixman:         %8.2f\n", cores,
              other > 0 ? many / other : 0.0);
  std::printf("  pixels equal to pixman's:         %8.2f %%\n",
              100.0 * static_cast<double>(same) / static_cast<double>(ours.size() / 4));
#else
  std::printf("  pixman: not built (install libpixman-1-dev and configure again)\n");
#endif
  std::printf("  memset of a frame:                %8.4f ms (1 thread at %.0f x)\n", fill,
              fill > 0.0 ? one / fill : 0.0);
  std::printf("  checksum of frame %d: %016" PRIx64 "\n", single.frame_number(), checksum);
  std::filesystem::remove_all(dir);
  if (threaded_checksum != checksum) {
    std::fprintf(stderr, "render_bench: the threaded frame differs (%016" PRIx64 ")\n",
                 threaded_checksum);
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace cva

// With `--write DIR`, only writes the scene into DIR (to play it elsewhere, e.g. in cvaplay).
int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--write") return cva::WriteScene(argv[2]) ? 0 : 1;
  return cva::Run();
}
