#pragma once

// Builds documents from records and plays them through a PlaybackHost over the recording
// provider. Nodes are given quad instances so that the recorded draws show what the scene drew.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "document/composed_provider.h"
#include "document/document.h"
#include "document/document_file.h"
#include "player/clear_colour_target.h"
#include "render/draw_state.h"
#include "render/matrix.h"
#include "render/record/recording_provider.h"
#include "scene/host/playback_host.h"
#include "scene/objects/scene_object.h"
#include "scene/scene.h"
#include "scene/scene_label_listener.h"
#include "scene/scene_node.h"
#include "stream/byte_writer.h"
#include "stream/write_visitor.h"
#include "support/recording_services.h"

namespace cva::testing {

template <size_t I>
KeyframeRecord Key(int16_t duration, const PropertyFields<I>& value, uint8_t inheritance = 0) {
  KeyframeRecord key;
  key.duration = duration;
  key.property = static_cast<uint8_t>(I);
  key.inheritance = inheritance;
  key.value = PropertyValueRecord(std::in_place_index<I>, value);
  return key;
}

// A motion that reaches `key` once and stays there.
template <size_t I>
MotionEntry Hold(const PropertyFields<I>& value, uint8_t inheritance = 0) {
  MotionEntry entry;
  entry.key = static_cast<uint8_t>(I);
  entry.motion.property = static_cast<uint8_t>(I);
  entry.motion.keyframes.items.push_back(Key<I>(0, value, inheritance));
  return entry;
}

inline LabelRecord Label(int16_t id, std::vector<MotionEntry> motions) {
  LabelRecord label;
  label.label = id;
  label.motions.items = std::move(motions);
  return label;
}

inline NodeRecord Node(int16_t id, std::vector<MotionEntry> start_motions = {},
                       std::vector<NodeRecord> children = {}) {
  NodeRecord node;
  node.id = id;
  if (!start_motions.empty()) node.labels.items.push_back(Label(0, std::move(start_motions)));
  node.children.items = std::move(children);
  return node;
}

inline StoredText Stored(const std::string& narrow) {
  return StoredText::From(EncodedText::FromNarrow(narrow), true);
}

// A document whose label 0 is named "start"; its frames last 10 ms.
inline DocumentFile MakeDocument(NodeRecord root) {
  DocumentFile file;
  file.header.frame_duration = 10.0f;
  file.header.background = {10, 20, 30, 40};
  file.label_names.items.push_back({0, Stored("start")});
  file.root = std::move(root);
  return file;
}

inline void AddLabelName(DocumentFile& file, int16_t id, const std::string& name) {
  file.label_names.items.push_back({id, Stored(name)});
}

inline std::vector<uint8_t> BytesOf(DocumentFile file) {
  ByteWriter out;
  WriteVisitor writer(out);
  file.Visit(writer);
  EXPECT_TRUE(writer.ok()) << writer.error();
  return out.Take();
}

// The object every quad instance claims to show.
class QuadObject final : public SceneObject {
 public:
  ObjectType TypeCode() const override { return ObjectType::kRect; }
  bool Load(const ObjectRecord&) override { return false; }
};

// Draws one solid quad with its node's world matrix and effective colour.
class QuadInstance final : public Instance {
 public:
  QuadInstance(QuadObject& object, SceneNode& node, ResourceProvider& provider)
      : object_(object), node_(node), quad_(provider.CreateSolidQuad()) {}
  SceneObject& Definition() const override { return object_; }
  Vec2 Size() const override { return {16.0f, 8.0f}; }
  void Reset() override { ++resets; }
  void Draw() override { quad_->Draw(node_.display().world(), node_.display().colour); }
  void Update(float) override { ++updates; }

  int resets = 0;
  int updates = 0;

 private:
  QuadObject& object_;
  SceneNode& node_;
  std::unique_ptr<SolidQuad> quad_;
};

class ColourLog final : public ClearColourTarget {
 public:
  void SetClearColour(Colour c) override { colours.push_back(c); }
  std::vector<Colour> colours;
};

class LabelLog final : public SceneLabelListener {
 public:
  void LabelEntered(int32_t label, const EncodedText* name) override {
    labels.push_back(label);
    names.push_back(name ? name->RawNarrow() : "(none)");
  }
  std::vector<int32_t> labels;
  std::vector<std::string> names;
};

class PlaybackTest : public ::testing::Test {
 protected:
  PlaybackTest() {
    host.set_draw_state(&draw_state);
    host.set_label_listener(&label_log);
  }

  // Loads `file` as "doc.cva" starting at `start_label` and ticks until it is current (the
  // tick that switches does nothing else). Every node then shows a quad.
  void Load(DocumentFile file, const std::string& start_label = "start") {
    services.files["doc.cva"] = BytesOf(std::move(file));
    host.StartLoad(EncodedText::FromNarrow("doc.cva"), EncodedText::FromNarrow(start_label));
    for (int tick = 0; tick < 10 && !host.document(); ++tick) host.Advance(0.0f);
    ASSERT_NE(host.document(), nullptr);
    ASSERT_NE(host.scene(), nullptr);
    GiveQuads(*host.document()->root());
  }

  // Gives `node` and its subtree quad instances and notes which quad belongs to which node.
  void GiveQuads(SceneNode& node) {
    quad_owner[graphics.primitives_created()] = node.id();
    auto instance = std::make_unique<QuadInstance>(object, node, provider);
    node.set_instance(std::move(instance));
    for (const auto& child : node.children()) GiveQuads(*child);
  }

  // Ticks once by `dt`, clears the records and draws.
  void TickAndDraw(float dt) {
    host.Advance(dt);
    graphics.Clear();
    host.Draw();
  }

  // The ids of the nodes whose quads were drawn, in draw order.
  std::vector<int32_t> DrawnNodes() const {
    std::vector<int32_t> ids;
    for (const DrawRecord& draw : graphics.Draws()) ids.push_back(quad_owner.at(draw.primitive));
    return ids;
  }

  SceneNode* FindNode(int32_t id) { return FindIn(host.document()->root(), id); }
  static SceneNode* FindIn(SceneNode* node, int32_t id) {
    if (!node || node->id() == id) return node;
    for (const auto& child : node->children()) {
      if (SceneNode* found = FindIn(child.get(), id)) return found;
    }
    return nullptr;
  }

  // The draw record of node `id`'s quad in the last draw.
  DrawRecord DrawOfNode(int32_t id) const {
    for (const DrawRecord& draw : graphics.Draws()) {
      if (quad_owner.at(draw.primitive) == id) return draw;
    }
    ADD_FAILURE() << "node " << id << " was not drawn";
    return {};
  }

  RecordingServices services;
  RecordingProvider graphics;
  ComposedProvider provider{graphics};
  DrawState draw_state{graphics};
  PlaybackHost host{provider};
  LabelLog label_log;
  QuadObject object;
  std::map<int32_t, int32_t> quad_owner;  // primitive serial -> node id
};

// Where a matrix takes a point.
inline Vec2 Apply(const Matrix4& matrix, Vec2 point) {
  return TransformCoord(matrix, point);
}

}  // namespace cva::testing
