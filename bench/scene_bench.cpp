// One frame of playback (scene update with every track advancing, draw-list rebuild, and the
// draw into the recording provider) for 1,000 / 10,000 / 100,000 animated nodes. Every node
// has position, angle, scale and colour tracks in motion and shows a solid quad. Prints ns per
// node per frame and, as the baseline run in the same process, a bare loop that builds each
// node's world matrix from the same four values and records one draw: the arithmetic no
// playback can avoid.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench_motion.h"
#include "document/composed_provider.h"
#include "document/document.h"
#include "document/document_file.h"
#include "render/draw_state.h"
#include "render/matrix.h"
#include "render/record/recording_provider.h"
#include "scene/host/playback_host.h"
#include "scene/objects/scene_object.h"
#include "scene/scene.h"
#include "scene/scene_node.h"
#include "stream/byte_writer.h"
#include "stream/write_visitor.h"
#include "system/services.h"

namespace cva {
namespace {

constexpr float kFrameMs = 16.0f;
// The document's frame lasts this long: the segments of 30,000 frames then last 3,000 seconds of
// playback, 187,500 steps of kFrameMs, so even long runs end before any node stops moving.
constexpr float kDocumentFrameMs = 100.0f;
using bench::Move;

std::vector<uint8_t> Document(int nodes) {
  DocumentFile file;
  file.header.frame_duration = kDocumentFrameMs;
  file.label_names.items.push_back({0, StoredText::From(EncodedText::FromNarrow("start"))});
  // A list holds at most 32767 entries, so the animated nodes sit in groups of 1,000.
  NodeRecord root;
  root.id = 0;
  for (int i = 0; i < nodes; ++i) {
    if (i % 1000 == 0) {
      NodeRecord group;
      group.id = static_cast<int16_t>(-2 - i / 1000);
      root.children.items.push_back(std::move(group));
    }
    NodeRecord node;
    node.id = static_cast<int16_t>(1 + i % 32000);
    LabelRecord label;
    label.label = 0;
    const float f = static_cast<float>(i % 97);
    PositionValue p0, p1;
    p0.position = {f, 2 * f};
    p1.position = {f + 300, 2 * f + 100};
    AngleValue a0, a1;
    a1.angle = 6.28f;
    ScaleValue s0, s1;
    s1.scale = {2.0f, 0.5f};
    ColourValue c0, c1;
    c0.colour = {255, 0, 0, 255};
    c1.colour = {0, 0, 255, 128};
    label.motions.items = {Move<2>(p0, p1), Move<3>(a0, a1), Move<4>(s0, s1), Move<7>(c0, c1)};
    node.labels.items.push_back(std::move(label));
    root.children.items.back().children.items.push_back(std::move(node));
  }
  file.root = std::move(root);
  ByteWriter out;
  WriteVisitor writer(out);
  file.Visit(writer);
  return out.Take();
}

// Serves the one document from memory.
class MemoryServices final : public Services {
 public:
  std::vector<uint8_t> document;
  Answer ShowMessage(const std::string& t, const std::string&, Buttons) override {
    std::fprintf(stderr, "scene_bench: %s\n", t.c_str());
    return Answer::kOk;
  }
  bool FileExists(const EncodedText&) override { return true; }
  bool ReadFile(const EncodedText&, std::vector<uint8_t>& out) override {
    out = document;
    return true;
  }
  uint32_t TickCount() override { return 0; }
  std::string CurrentDirectory() override { return "."; }
  bool SetCurrentDirectory(const std::string&) override { return true; }
  void DebugOutput(const std::string&) override {}
  void ErrorOutput(const std::string& t) override { std::fputs(t.c_str(), stderr); }
};

class QuadObject final : public SceneObject {
 public:
  ObjectType TypeCode() const override { return ObjectType::kRect; }
  bool Load(const ObjectRecord&) override { return false; }
};

class QuadInstance final : public Instance {
 public:
  QuadInstance(QuadObject& object, SceneNode& node, ResourceProvider& provider)
      : object_(object), node_(node), quad_(provider.CreateSolidQuad()) {}
  SceneObject& Definition() const override { return object_; }
  Vec2 Size() const override { return {16.0f, 8.0f}; }
  void Reset() override {}
  void Draw() override { quad_->Draw(node_.display().world(), node_.display().colour); }
  void Update(float) override {}

 private:
  QuadObject& object_;
  SceneNode& node_;
  std::unique_ptr<SolidQuad> quad_;
};

void BM_ScenePlayback(benchmark::State& state) {
  const int nodes = static_cast<int>(state.range(0));
  MemoryServices services;
  services.document = Document(nodes);
  SetSystemServices(&services);
  RecordingProvider graphics;
  ComposedProvider provider{graphics};
  DrawState draw_state{graphics};
  PlaybackHost host{provider};
  host.set_draw_state(&draw_state);
  host.StartLoad(EncodedText::FromNarrow("bench.cva"), EncodedText::FromNarrow("start"));
  for (int tick = 0; tick < 10 && !host.document(); ++tick) host.Advance(0.0f);
  if (!host.document()) {
    state.SkipWithError("the document did not load");
    SetSystemServices(nullptr);
    return;
  }
  QuadObject object;
  for (const auto& group : host.document()->root()->children())
    for (const auto& child : group->children())
      child->set_instance(std::make_unique<QuadInstance>(object, *child, provider));
  host.Advance(kFrameMs);
  host.Draw();
  const Matrix4 first_world = graphics.Draws().front().world;
  for (auto _ : state) {
    host.Advance(kFrameMs);
    graphics.Clear();
    host.Draw();
  }
  const std::vector<DrawRecord> draws = graphics.Draws();
  host.Advance(kFrameMs);
  graphics.Clear();
  host.Draw();
  const std::vector<DrawRecord> next = graphics.Draws();
  if (draws.size() != static_cast<size_t>(nodes)) {
    state.SkipWithError("not every node was drawn");
  } else if (draws.front().world == first_world) {
    state.SkipWithError("the nodes did not move");
  } else if (next.empty() || next.back().world == draws.back().world) {
    state.SkipWithError("the nodes stopped moving before the run ended");
  }
  state.counters["ns/node"] =
      benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
  SetSystemServices(nullptr);
}

// The unavoidable arithmetic: interpolate four values, build the world matrix, keep one
// record per node.
void BM_BareMatrixLoop(benchmark::State& state) {
  const int nodes = static_cast<int>(state.range(0));
  struct Out {
    Matrix4 world;
    uint32_t colour;
  };
  std::vector<Out> out(nodes);
  float t = 0.0f;
  for (auto _ : state) {
    t += kFrameMs / (kDocumentFrameMs * bench::kLongSegment);
    for (int i = 0; i < nodes; ++i) {
      const float f = static_cast<float>(i % 97);
      const Matrix4 m = Multiply(Multiply(Matrix4::Scaling(1.0f + t, 1.0f - 0.5f * t, 1.0f),
                                          Matrix4::RotationZ(6.28f * t)),
                                 Matrix4::Translation(f + 300 * t, 2 * f + 100 * t, 0.0f));
      out[i].world = m;
      out[i].colour = static_cast<uint32_t>(255 * (1 - t)) | (static_cast<uint32_t>(255 * t) << 16);
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["ns/node"] =
      benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}

BENCHMARK(BM_ScenePlayback)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BareMatrixLoop)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    // Times are in microseconds per iteration; the argument is the node count.
    for (const Run& r : runs) {
      const std::string name = r.benchmark_name();
      const double nodes = std::stod(name.substr(name.find('/') + 1));
      per_node_[name] = r.GetAdjustedRealTime() * 1000.0 / nodes;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Summary() const {
    for (int n : {1000, 10000, 100000}) {
      const std::string arg = "/" + std::to_string(n);
      const auto scene = per_node_.find("BM_ScenePlayback" + arg);
      const auto bare = per_node_.find("BM_BareMatrixLoop" + arg);
      if (scene == per_node_.end() || bare == per_node_.end()) continue;
      std::printf(
          "%6d nodes: %.1f ns per node per frame (%.3f ms per frame), %.1fx the bare loop\n", n,
          scene->second, scene->second * n / 1e6, scene->second / bare->second);
    }
    const auto a = per_node_.find("BM_ScenePlayback/1000");
    const auto c = per_node_.find("BM_ScenePlayback/100000");
    if (a != per_node_.end() && c != per_node_.end())
      std::printf("cost per node at 100,000 nodes / at 1,000 nodes: %.2f (1.0 = linear)\n",
                  c->second / a->second);
  }

 private:
  std::map<std::string, double> per_node_;
};

}  // namespace
}  // namespace cva

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  cva::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.Summary();
  return 0;
}
