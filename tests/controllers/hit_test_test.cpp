// The pointer pass over draw lists: hit states 1 and 2, pixel-exact nodes, embedded scenes.
#include <gtest/gtest.h>

#include "render/matrix_transform.h"
#include "scene/hit/hit_test.h"
#include "scene/property_value.h"
#include "scene_rig.h"

namespace cva::testing {
namespace {

// A scene of one root with the children 1 to 3 drawn in that order (equal depths keep tree
// order); each child is a rectangle placed by its local matrix.
struct HitPassTest : ::testing::Test {
  RigProvider provider;
  Document document{EncodedText::FromNarrow("outer"), provider};
  RectObject rect;
  MatrixTransform base;
  std::unique_ptr<Scene> scene;

  void SetUp() override {
    ASSERT_TRUE(BuildScene(document, NodeWith(0, {NodeWith(1), NodeWith(2), NodeWith(3)})));
    scene = std::make_unique<Scene>(document);
  }
  SceneNode& Child(int id) { return *FindNode(document.root(), id); }
  void Place(SceneNode& node, Vec2 at, Vec2 size) {
    node.set_instance(std::make_unique<SizedInstance>(rect, size));
    node.display().local().SetTranslation(at);
  }
  // Rebuilds world matrices and the draw list, then runs the pointer pass.
  bool Pass(Scene& s, Vec2 point, bool free = true) {
    s.Update(0.0f, base);
    return HitTest(s, point, free);
  }
};

TEST_F(HitPassTest, TheTopmostNodeUnderThePointerGetsOneTheOthersTwo) {
  Place(Child(1), {0, 0}, {10, 10});
  Place(Child(2), {5, 5}, {10, 10});
  Place(Child(3), {50, 50}, {10, 10});
  EXPECT_FALSE(Pass(*scene, {7, 7}));
  EXPECT_EQ(Child(1).hit_state, kHitCovered);
  EXPECT_EQ(Child(2).hit_state, kHitTopmost);
  EXPECT_EQ(Child(3).hit_state, kNotHit);
  // Moving away clears the states; nothing hit leaves the flag free.
  EXPECT_TRUE(Pass(*scene, {30, 30}));
  EXPECT_EQ(Child(1).hit_state, kNotHit);
  EXPECT_EQ(Child(2).hit_state, kNotHit);
  // A pass that starts covered gives state 2 only.
  EXPECT_FALSE(Pass(*scene, {2, 2}, false));
  EXPECT_EQ(Child(1).hit_state, kHitCovered);
}

TEST_F(HitPassTest, NodesOutsideTheDrawListKeepTheirState) {
  Place(Child(1), {0, 0}, {10, 10});
  Place(Child(2), {0, 0}, {10, 10});
  Pass(*scene, {5, 5});
  ASSERT_EQ(Child(1).hit_state, kHitCovered);
  FieldsOf<1>(Child(2).display().holder(1))->visibility = 2;  // not drawn from now on
  EXPECT_FALSE(Pass(*scene, {5, 5}));
  EXPECT_EQ(Child(1).hit_state, kHitTopmost);
  EXPECT_EQ(Child(2).hit_state, kHitTopmost);
}

TEST_F(HitPassTest, PixelExactNodesLetTransparentPixelsThrough) {
  ImageObject image;
  auto texture = std::make_unique<MaskedImage>(provider, ImageSize{10, 10},
                                               [](int32_t x, int32_t) { return x >= 5; });
  texture->LoadDirectly();
  document.resources().Add(9, std::move(texture));
  ImageRecord record;
  record.image = 9;
  image.Load(record);
  image.Attach(4, document);

  Place(Child(1), {0, 0}, {10, 10});
  SceneNode& top = Child(2);
  top.set_instance(std::make_unique<SizedInstance>(image, Vec2{10, 10}));
  FieldsOf<10>(top.display().AddProperty(10))->hit_mode = 2;
  top.display().AddProperty(11);
  top.display().AddProperty(12);

  EXPECT_FALSE(Pass(*scene, {2, 2}));  // transparent: the node below is topmost
  EXPECT_EQ(top.hit_state, kNotHit);
  EXPECT_EQ(Child(1).hit_state, kHitTopmost);
  EXPECT_FALSE(Pass(*scene, {7, 2}));
  EXPECT_EQ(top.hit_state, kHitTopmost);
  EXPECT_EQ(Child(1).hit_state, kHitCovered);
  // Any other hit mode tests the extent only.
  FieldsOf<10>(top.display().holder(10))->hit_mode = 1;
  Pass(*scene, {2, 2});
  EXPECT_EQ(top.hit_state, kHitTopmost);
}

TEST_F(HitPassTest, EmbeddedScenesPassTheFreeFlagThrough) {
  // The nested document: a root with one rectangle at (20, 0).
  Document nested(EncodedText::FromNarrow("nested"), provider);
  ASSERT_TRUE(BuildScene(nested, NodeWith(0, {NodeWith(1)})));
  Scene nested_scene(nested);
  SceneNode& inner = *FindNode(nested.root(), 1);
  Place(inner, {20, 0}, {10, 10});
  nested_scene.Update(0.0f, base);

  // Outer: 1 below, 2 shows the nested scene, 3 above it but elsewhere.
  EmbeddedSceneObject embedded_object;
  Place(Child(1), {0, 0}, {40, 40});
  auto instance = std::make_unique<EmbeddedInstance>(embedded_object, Vec2{40, 40});
  EmbeddedInstance& view = *instance;
  Child(2).set_instance(std::move(instance));
  Place(Child(3), {100, 100}, {5, 5});

  view.document = &nested;
  view.scene = &nested_scene;
  EXPECT_FALSE(Pass(*scene, {25, 5}));
  EXPECT_EQ(inner.hit_state, kHitTopmost);
  EXPECT_EQ(Child(2).hit_state, kNotHit);  // the embedding node itself is never hit
  EXPECT_EQ(Child(1).hit_state, kHitCovered);

  // Nothing of the nested scene under the pointer: the flag stays free for the node below.
  EXPECT_FALSE(Pass(*scene, {5, 5}));
  EXPECT_EQ(inner.hit_state, kNotHit);
  EXPECT_EQ(Child(1).hit_state, kHitTopmost);

  // Without a document the embedding node is tested like any other node.
  view.document = nullptr;
  EXPECT_FALSE(Pass(*scene, {5, 5}));
  EXPECT_EQ(Child(2).hit_state, kHitTopmost);
  EXPECT_EQ(Child(1).hit_state, kHitCovered);
}

TEST_F(HitPassTest, NodesWithoutInstancesAreSkipped) {
  Child(1).hit_state = kHitTopmost;  // from an earlier frame
  EXPECT_TRUE(Pass(*scene, {0, 0}));
  EXPECT_EQ(Child(1).hit_state, kNotHit);
}

}  // namespace
}  // namespace cva::testing
