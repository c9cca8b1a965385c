#pragma once

// Plays documents with real object instances through a PlaybackHost over the recording
// graphics. Draws and the vertex positions of meshes are recorded, and sound streams write
// their calls to a log, so tests can see all three.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "document/composed_provider.h"
#include "playback/playback_fixture.h"
#include "render/record/recording_primitives.h"

namespace cva::testing {

// Writes every call it receives to a shared log, one line each.
class LoggingStream final : public SoundStream {
 public:
  explicit LoggingStream(std::vector<std::string>& log) : log_(log) {}
  ~LoggingStream() override { log_.push_back("destroyed"); }
  void SetPan(int32_t pan) override { log_.push_back("pan " + std::to_string(pan)); }
  void SetVolume(int32_t volume) override { log_.push_back("volume " + std::to_string(volume)); }
  void PlayRange(float start, float length, bool loop) override {
    std::ostringstream line;
    line << "range " << start << " " << length << (loop ? " loop" : " once");
    log_.push_back(line.str());
  }
  void Play(float start, bool loop) override {
    std::ostringstream line;
    line << "play " << start << (loop ? " loop" : " once");
    log_.push_back(line.str());
  }
  void Stop() override { log_.push_back("stop"); }

 private:
  std::vector<std::string>& log_;
};

// A provider over the recording graphics that lists the meshes it made, with sound streams
// that log their calls.
class ProbeProvider final : public ComposedProvider {
 public:
  ProbeProvider() {
    SetGraphics(inner);
    SetSound(sounds_);
  }

  struct Graphics final : RecordingProvider {
    explicit Graphics(ProbeProvider& p) : probe(p) {}
    std::unique_ptr<MeshPrimitive> CreateMesh(int32_t vertex_count, int32_t index_count) override {
      auto mesh = RecordingProvider::CreateMesh(vertex_count, index_count);
      probe.meshes.push_back(static_cast<const record::Mesh*>(mesh.get()));
      return mesh;
    }
    ProbeProvider& probe;
  } inner{*this};
  std::vector<std::string> sound_log;
  int streams_created = 0;
  std::vector<const record::Mesh*> meshes;  // owned by their objects

 private:
  struct Sounds final : InertSoundBackend {
    explicit Sounds(ProbeProvider& p) : probe(p) {}
    std::unique_ptr<SoundStream> CreateSoundStream(SoundResource&) override {
      ++probe.streams_created;
      return std::make_unique<LoggingStream>(probe.sound_log);
    }
    ProbeProvider& probe;
  } sounds_{*this};
};

template <class R>
ObjectEntry Object(R record) {
  ObjectEntry entry;
  entry.record = record;
  entry.type = static_cast<uint8_t>(entry.record.index());
  return entry;
}

inline ResourceRecord Resource(int16_t id, ResourceKind kind, const std::string& name,
                               bool load = true) {
  ResourceRecord record;
  record.id = id;
  record.kind = static_cast<uint8_t>(kind);
  record.load = Flag(load);
  record.name = Stored(name);
  return record;
}

// A node placing object `object` with motions at label 0.
inline NodeRecord Placing(int16_t id, int16_t object, std::vector<MotionEntry> motions = {}) {
  NodeRecord node = Node(id, std::move(motions));
  node.object = object;
  return node;
}

inline PositionValue At(float x, float y) {
  PositionValue value;
  value.position = {x, y};
  return value;
}

// Where the texture transform `m` takes the texture coordinates (u, v), which enter it as
// (u, v, 1, 0).
inline Vec2 TexApply(const Matrix4& m, Vec2 uv) {
  return {uv.x * m.m[0][0] + uv.y * m.m[1][0] + m.m[2][0],
          uv.x * m.m[0][1] + uv.y * m.m[1][1] + m.m[2][1]};
}

class InstanceTest : public ::testing::Test {
 protected:
  InstanceTest() { host.set_draw_state(&draw_state); }

  // Loads `file` as "doc.cva" starting at label "start" and ticks until it is current.
  void Load(DocumentFile file) {
    services.files["doc.cva"] = BytesOf(std::move(file));
    host.StartLoad(EncodedText::FromNarrow("doc.cva"), EncodedText::FromNarrow("start"));
    for (int tick = 0; tick < 10 && host.pending_loader(); ++tick) host.Advance(0.0f);
    ASSERT_EQ(host.pending_loader(), nullptr);
    ASSERT_NE(host.document(), nullptr);
  }
  void AddFile(const std::string& name, DocumentFile file) {
    services.files[name] = BytesOf(std::move(file));
  }
  // An image file the provider reports as `width` x `height` pixels.
  void AddImage(const std::string& name, int32_t width, int32_t height) {
    services.files[name] = {1, 2, 3};
    provider.inner.SetImageSize(name, {width, height});
  }

  // Ticks once by `dt`, clears the records and draws; returns the draws.
  std::vector<DrawRecord> TickAndDraw(float dt) {
    host.Advance(dt);
    provider.inner.Clear();
    host.Draw();
    return provider.inner.Draws();
  }

  SceneNode& NodeById(int32_t id) {
    SceneNode* node = FindIn(host.document()->root(), id);
    EXPECT_NE(node, nullptr) << "no node " << id;
    return *node;
  }
  static SceneNode* FindIn(SceneNode* node, int32_t id) {
    if (!node || node->id() == id) return node;
    for (const auto& child : node->children()) {
      if (SceneNode* found = FindIn(child.get(), id)) return found;
    }
    return nullptr;
  }

  RecordingServices services;
  ProbeProvider provider;
  DrawState draw_state{provider.inner};
  PlaybackHost host{provider};
};

}  // namespace cva::testing
