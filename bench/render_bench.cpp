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

#include "bench_motion.h"
#include "document/document_file.h"
#include "png_file.h"
#include "render_session.h"
#include "stream/byte_writer.h"
#include "stream/write_visitor.h"

namespace cva {
namespace {

constexpr int kNodes = 1000;
constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kSide = 64;
constexpr int kWarmUpFrames = 20;
constexpr int kMeasuredFrames = 200;
using bench::Move;

// A stage of kWidth x kHeight with one 64 x 64 image object placed by kNodes nodes, each
// crossing the stage on its own line while turning.
std::vector<uint8_t> BenchDocument() {
  DocumentFile file;
  file.header.stage_width = kWidth;
  file.header.stage_height = kHeight;
  file.header.frame_duration = 16.0f;
  ResourceRecord image;
  image.id = 1;
  image.load = Flag{true};
  image.kind = 0;
  image.name = StoredText::From(EncodedText::FromNarrow("sprite.png"));
  file.resources.items.push_back(image);
  ImageRecord sprite;
  sprite.id = 1;
  sprite.size = {kSide, kSide};
  sprite.image = 1;
  sprite.colour = {255, 255, 255, 255};
  file.objects.items.push_back({2, ObjectRecord(std::in_place_index<2>, sprite)});
  file.label_names.items.push_back({0, StoredText::From(EncodedText::FromNarrow("default"))});
  NodeRecord root;
  root.id = 0;
  for (int i = 0; i < kNodes; ++i) {
    NodeRecord node;
    node.id = static_cast<int16_t>(1 + i);
    node.object = 1;
    LabelRecord label;
    label.label = 0;
    const float x = static_cast<float>((i * 37) % kWidth) - kSide;
    const float y = static_cast<float>((i * 53) % kHeight) - kSide;
    PositionValue p0, p1;
    p0.position = {x, y};
    p1.position = {x + 40000.0f * ((i % 3) - 1), y + 30000.0f * ((i % 5) - 2)};
    AngleValue a0, a1;
    a1.angle = 600.0f * ((i % 2) ? 1.0f : -1.0f);
    label.motions.items = {Move<2>(p0, p1), Move<3>(a0, a1)};
    node.labels.items.push_back(std::move(label));
    root.children.items.push_back(std::move(node));
  }
  file.root = std::move(root);
  ByteWriter out;
  WriteVisitor writer(out);
  file.Visit(writer);
  return out.Take();
}

// A 64 x 64 picture with a transparent border, a gradient and a dark cross.
render_tool::RgbaImage SpriteImage() {
  render_tool::RgbaImage image(kSide, kSide);
  for (int32_t y = 0; y < kSide; ++y)
    for (int32_t x = 0; x < kSide; ++x) {
      uint8_t* p = image.At(x, y);
      const bool edge = x < 4 || y < 4 || x >= kSide - 4 || y >= kSide - 4;
      const bool cross = x == y || x == kSide - 1 - y;
      p[0] = static_cast<uint8_t>(x * 4);
      p[1] = static_cast<uint8_t>(y * 4);
      p[2] = cross ? 20 : 200;
      p[3] = edge ? 0 : 255;
    }
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
  if (!render_tool::WritePng((dir / "sprite.png").string(), SpriteImage(), error)) {
    std::fprintf(stderr, "render_bench: %s\n", error.c_str());
    return 1;
  }
  const std::vector<uint8_t> document = BenchDocument();
  std::ofstream((dir / "bench.cva").string(), std::ios::binary)
      .write(reinterpret_cast<const char*>(document.data()),
             static_cast<std::streamsize>(document.size()));

  render_tool::RenderOptions options;
  options.input = (dir / "bench.cva").string();
  options.size = ImageSize{kWidth, kHeight};
  options.step_ms = 16;
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
