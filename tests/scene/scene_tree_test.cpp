#include "scene/scene_tree_builder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "scene/keyframe_table.h"
#include "scene_tree_bytes.h"
#include "test_provider.h"

namespace cva {
namespace {

using testing::ExpectRoundTrip;
using testing::NodeSpec;
using testing::SampleTree;
using testing::SceneTestProvider;

NodeRecord ReadTree(const NodeSpec& spec, bool names) {
  ByteWriter out;
  testing::WriteNode(out, spec, names);
  return ExpectRoundTrip<NodeRecord>(out.Take(), names);
}

// Every keyframe held by the motions of the tree under `node`.
void CollectKeyframes(const SceneNode& node, std::set<const Keyframe*>& keys) {
  for (const auto& [label, set] : node.labels().sets()) {
    for (const auto& [key, motion] : set) {
      for (const Keyframe& keyframe : motion->keyframes()) keys.insert(&keyframe);
    }
  }
  for (const auto& child : node.children()) CollectKeyframes(*child, keys);
}

TEST(SceneTree, IsBuiltInRecordOrderWithParentsNamesAndFlags) {
  SceneTestProvider provider;
  KeyframeTable keyframes;
  std::string error;
  const NodeRecord record = ReadTree(SampleTree(), true);
  const auto root = BuildSceneTree(record, SceneTreeSources(provider, &keyframes), error);
  ASSERT_NE(root, nullptr) << error;

  EXPECT_EQ(root->id(), 1);
  EXPECT_EQ(root->name(), EncodedText::FromNarrow("root"));
  EXPECT_EQ(root->parent(), nullptr);
  ASSERT_EQ(root->children().size(), 2u);
  const SceneNode& first = *root->children()[0];
  const SceneNode& second = *root->children()[1];
  EXPECT_EQ(first.id(), 2);
  EXPECT_EQ(first.parent(), root.get());
  EXPECT_TRUE(first.inactive);
  EXPECT_FALSE(second.inactive);
  EXPECT_FALSE(first.has_controller());
  EXPECT_TRUE(second.has_controller());
  ASSERT_EQ(first.children().size(), 1u);
  EXPECT_EQ(first.children()[0]->name(), EncodedText::FromNarrow("grandchild"));
  EXPECT_EQ(first.children()[0]->parent(), &first);
  for (const SceneNode* node : std::vector<const SceneNode*>{root.get(), &first, &second}) {
    EXPECT_FALSE(node->frozen);
    EXPECT_FALSE(node->suspended);
    EXPECT_FALSE(node->hidden);
    EXPECT_EQ(node->instance(), nullptr);  // no instance factory given
  }
  // Local and world transforms per node; the base of a node that does not inherit all of its
  // parent's placement is made when first needed.
  EXPECT_EQ(provider.transforms_created, 8);
}

TEST(SceneTree, NodesWithoutNamesHaveTheEmptyName) {
  SceneTestProvider provider;
  std::string error;
  const auto root =
      BuildSceneTree(ReadTree(SampleTree(), false), SceneTreeSources(provider), error);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->name(), EncodedText());
  EXPECT_EQ(root->children()[0]->children()[0]->id(), 4);
}

TEST(SceneTree, DisplayNodesStartWithTheirPropertiesAndFreshTracks) {
  SceneTestProvider provider;
  std::string error;
  const auto root =
      BuildSceneTree(ReadTree(SampleTree(), false), SceneTreeSources(provider), error);
  ASSERT_NE(root, nullptr);
  const DisplayNode& child = root->children()[0]->display();
  for (int index = 0; index < kPropertyCount; ++index) {
    const bool expected = index <= 7;
    EXPECT_EQ(child.HasProperty(index), expected) << index;
    EXPECT_EQ(root->display().HasProperty(index), expected || index == 8) << index;
    const PropertyTrack* track = child.track(index);
    if (!expected) {
      EXPECT_EQ(track, nullptr);
      continue;
    }
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(&track->holder(), child.holder(index));
    EXPECT_EQ(track->property(), index);
    EXPECT_EQ(track->motion(), nullptr);
    EXPECT_EQ(track->key_index(), PropertyTrack::kNotStarted);
    EXPECT_TRUE(track->inherit());
    EXPECT_TRUE(track->enabled());
    EXPECT_FALSE(track->passed_key());
    EXPECT_TRUE(track->start().ToRecord() == track->holder().ToRecord()) << index;
  }
  EXPECT_EQ(*FieldsOf<1>(child.holder(1)), (DrawCodesValue{1, 1, 3}));
  EXPECT_EQ(FieldsOf<4>(child.holder(4))->scale, (Vec2{1.0f, 1.0f}));
  EXPECT_EQ(FieldsOf<8>(root->display().holder(8))->label_loaded, -1);
  EXPECT_EQ(child.colour, (Colour{255, 255, 255, 255}));
  EXPECT_EQ(child.depth, 0);
  EXPECT_EQ(child.visibility, DisplayNode::kParentVisibility);
  EXPECT_TRUE(testing::IsIdentity(child.local()));
  EXPECT_TRUE(testing::IsIdentity(root->children()[0]->display().parent_base()));
  EXPECT_TRUE(testing::IsIdentity(child.world()));
  EXPECT_EQ(child.parent_world(), nullptr);
}

TEST(SceneTree, LabelTablesHoldTheMotionsByKeyAndTheKeyframeTableTheLabelledKeyframes) {
  SceneTestProvider provider;
  KeyframeTable keyframes;
  std::string error;
  const auto root =
      BuildSceneTree(ReadTree(SampleTree(), false), SceneTreeSources(provider, &keyframes), error);
  ASSERT_NE(root, nullptr);
  const SceneNode& first = *root->children()[0];
  EXPECT_EQ(first.labels().size(), 2u);
  const MotionSet* set = first.labels().Find(1000);
  ASSERT_NE(set, nullptr);
  ASSERT_EQ(set->size(), 2u);
  EXPECT_EQ(set->at(0)->property(), 0);
  EXPECT_EQ(set->at(0)->size(), 2u);
  EXPECT_EQ(set->at(7)->property(), 7);
  EXPECT_EQ(set->at(7)->keyframes()[0].ease.size(), 2u);
  EXPECT_EQ(first.labels().Find(3000), nullptr);
  EXPECT_EQ(first.labels().Find(1000 + 65536), nullptr);  // no wrap-around to label 1000
  EXPECT_TRUE(first.children()[0]->labels().empty());

  // Keyframe label indices 1 (root), 2 and 3 (first, label 1000), 4 (first, label 2000).
  ASSERT_EQ(keyframes.size(), 4u);
  EXPECT_EQ(keyframes.Find(1), &root->labels().Find(1000)->at(0)->keyframes()[0]);
  EXPECT_EQ(keyframes.Find(2), &set->at(0)->keyframes()[0]);
  EXPECT_EQ(keyframes.Find(3), &set->at(7)->keyframes()[0]);
  EXPECT_EQ(keyframes.Find(4), &first.labels().Find(2000)->at(0)->keyframes()[0]);
}

TEST(SceneTree, RepeatedLabelsAndMotionKeysKeepTheLastAndTheTableOnlyLiveKeyframes) {
  NodeSpec node;
  node.label_count = 2;
  node.labels = testing::Concat({testing::LabelBytes(7, {testing::DepthMotionEntry(0, {10})}),
                                 testing::LabelBytes(7, {testing::DepthMotionEntry(1, {11}),
                                                         testing::DepthMotionEntry(1, {12, 13})})});
  SceneTestProvider provider;
  KeyframeTable keyframes;
  std::string error;
  const auto root =
      BuildSceneTree(ReadTree(node, false), SceneTreeSources(provider, &keyframes), error);
  ASSERT_NE(root, nullptr);
  const MotionSet* set = root->labels().Find(7);
  ASSERT_NE(set, nullptr);
  ASSERT_EQ(set->size(), 1u);
  EXPECT_EQ(set->at(1)->size(), 2u);
  std::set<const Keyframe*> live;
  CollectKeyframes(*root, live);
  EXPECT_EQ(keyframes.size(), 2u);
  for (const auto& [index, keyframe] : keyframes.entries())
    EXPECT_TRUE(live.count(keyframe)) << "table entry " << index << " points to a dropped motion";
}

class FakeInstance final : public Instance {
 public:
  // Building the tree never asks an instance for its definition.
  SceneObject& Definition() const override { std::abort(); }
  Vec2 Size() const override { return {}; }
  void Reset() override {}
  void Draw() override {}
  void Update(float) override {}
};

TEST(SceneTree, InstancesComeFromTheHookWithTheRecordsObjectId) {
  SceneTestProvider provider;
  std::vector<std::pair<int16_t, int32_t>> calls;  // object id, node id
  InstanceFactory factory = [&](int16_t object, SceneNode& node) -> std::unique_ptr<Instance> {
    calls.push_back({object, node.id()});
    if (object != 5) return nullptr;
    node.display().AddProperty(13);  // as a number object's instance does
    return std::make_unique<FakeInstance>();
  };
  std::string error;
  const auto root = BuildSceneTree(ReadTree(SampleTree(), false),
                                   SceneTreeSources(provider, nullptr, factory), error);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(calls, (std::vector<std::pair<int16_t, int32_t>>{{-1, 1}, {5, 2}, {-1, 4}, {-1, 3}}));
  SceneNode& first = *root->children()[0];
  EXPECT_NE(first.instance(), nullptr);
  EXPECT_EQ(root->instance(), nullptr);
  ASSERT_NE(first.display().track(13), nullptr);
  EXPECT_EQ(first.display().track(13)->key_index(), PropertyTrack::kNotStarted);
  EXPECT_EQ(first.display().AddProperty(26), nullptr);
  // Adding a property again keeps the value it has.
  FieldsOf<13>(first.display().holder(13))->value = 9;
  EXPECT_EQ(FieldsOf<13>(first.display().AddProperty(13))->value, 9);
}

// A chain of `depth` nodes, each the only child of the one before, built without recursion.
NodeRecord Chain(int depth) {
  NodeRecord root;
  NodeRecord* node = &root;
  for (int level = 1; level < depth; ++level) {
    node->children.items.emplace_back();
    node->children.stored_count = 1;
    node = &node->children.items.back();
    node->id = static_cast<int16_t>(level);
    LabelRecord label;
    label.label = 1;
    MotionEntry entry;
    KeyframeRecord key;
    key.label = StoredText::From(EncodedText::FromNarrow("k"));
    key.label_index = static_cast<int16_t>(level);
    entry.motion.keyframes.items.push_back(key);
    label.motions.items.push_back(entry);
    node->labels.items.push_back(label);
  }
  return root;
}

TEST(SceneTree, DepthIsBoundedWithoutLeavingKeyframesBehind) {
  SceneTestProvider provider;
  std::string error;
  KeyframeTable keyframes;
  const auto deepest =
      BuildSceneTree(Chain(kMaxSceneTreeDepth), SceneTreeSources(provider, &keyframes), error);
  ASSERT_NE(deepest, nullptr) << error;
  EXPECT_EQ(keyframes.size(), static_cast<size_t>(kMaxSceneTreeDepth - 1));

  KeyframeTable refused_keyframes;
  const auto refused = BuildSceneTree(Chain(kMaxSceneTreeDepth + 1),
                                      SceneTreeSources(provider, &refused_keyframes), error);
  EXPECT_EQ(refused, nullptr);
  EXPECT_NE(error.find("deeper than 256"), std::string::npos) << error;
  EXPECT_EQ(refused_keyframes.size(), 0u);
}

TEST(PropertyTrack, ResetTakesTheHoldersValueAndSetMotionStartsOver) {
  SceneTestProvider provider;
  DisplayNode display(provider);
  PropertyTrack& track = *display.track(0);
  FieldsOf<0>(display.holder(0))->depth = 42;
  EXPECT_EQ(FieldsOf<0>(&track.start())->depth, 0);  // the start is a copy, not the holder
  track.Reset();
  EXPECT_EQ(FieldsOf<0>(&track.start())->depth, 42);

  MotionRecord record;
  record.keyframes.items.emplace_back();
  const auto motion = Motion::FromRecord(record, nullptr);
  FieldsOf<0>(display.holder(0))->depth = 43;
  track.SetMotion(motion.get());
  EXPECT_EQ(track.motion(), motion.get());
  EXPECT_EQ(track.key_index(), PropertyTrack::kNotStarted);
  EXPECT_EQ(FieldsOf<0>(&track.start())->depth, 43);
  display.ResetTracks();
  EXPECT_EQ(track.motion(), motion.get());  // a reset keeps the motion
}

}  // namespace
}  // namespace cva
