// Node outlines, point-in-node and pixel tests, polygon overlap with its tolerances.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "controller_rig.h"
#include "document/resource_table.h"
#include "scene/hit/node_shape.h"
#include "scene/hit/polygon.h"
#include "scene/property_value.h"

namespace cva::testing {
namespace {

using Polygon = std::vector<Vec2>;

Polygon Square(float x, float y, float size) {
  return {{x, y}, {x + size, y}, {x + size, y + size}, {x, y + size}};
}

TEST(PolygonsOverlap, SeparateTouchingAndNested) {
  EXPECT_FALSE(PolygonsOverlap(Square(0, 0, 10), Square(20, 0, 10)));
  EXPECT_FALSE(PolygonsOverlap(Square(0, 0, 10), Square(0, 10.5f, 10)));
  EXPECT_TRUE(PolygonsOverlap(Square(0, 0, 10), Square(5, 5, 10)));
  // Only a shared corner: the edges meet at their end points.
  EXPECT_TRUE(PolygonsOverlap(Square(0, 0, 10), Square(10, 10, 10)));
  // One inside the other: no edges cross, containment decides, both ways round.
  EXPECT_TRUE(PolygonsOverlap(Square(0, 0, 10), Square(2, 2, 2)));
  EXPECT_TRUE(PolygonsOverlap(Square(2, 2, 2), Square(0, 0, 10)));
  EXPECT_FALSE(PolygonsOverlap({}, Square(0, 0, 10)));
  EXPECT_FALSE(PolygonsOverlap(Square(0, 0, 10), {}));
}

TEST(PolygonsOverlap, BoxesOverlapButShapesDoNot) {
  const Polygon diamond = {{5, 0}, {10, 5}, {5, 10}, {0, 5}};
  EXPECT_FALSE(PolygonsOverlap(diamond, Square(8.5f, 8.5f, 3)));
  EXPECT_TRUE(PolygonsOverlap(diamond, Square(6, 6, 3)));
}

TEST(PolygonsOverlap, ParallelEdgesAreLeftToContainment) {
  // Side by side, sharing the edge x = 10: the shared edges are parallel and do not count,
  // but the edges along y = 0 meet the shared edge at the corner (10, 0).
  EXPECT_TRUE(PolygonsOverlap(Square(0, 0, 10), Square(10, 0, 10)));
  EXPECT_FALSE(SegmentsIntersect({0, 0}, {10, 0}, {5, 0}, {15, 0}));
  // Flat shapes lying on one line: no edge pair intersects (all parallel), but every side test
  // of a point on the line gives the same (non-negative) side, so containment finds overlap.
  const Polygon flat_a = {{0, 0}, {10, 0}, {5, 0}};
  const Polygon flat_b = {{2, 0}, {8, 0}, {4, 0}};
  EXPECT_TRUE(PolygonsOverlap(flat_a, flat_b));
}

TEST(SegmentsIntersect, Tolerances) {
  EXPECT_TRUE(SegmentsIntersect({0, 0}, {10, 10}, {0, 10}, {10, 0}));
  EXPECT_TRUE(SegmentsIntersect({0, 0}, {10, 0}, {10, 0}, {10, 5}));  // end points touch
  EXPECT_FALSE(SegmentsIntersect({0, 0}, {10, 0}, {10.01f, -5}, {10.01f, 5}));
  // A segment shorter than 0.0001 never intersects.
  EXPECT_FALSE(SegmentsIntersect({5, 0}, {5.00005f, 0}, {5, -1}, {5, 1}));
  EXPECT_TRUE(SegmentsIntersect({5, 0}, {5.001f, 0}, {5, -1}, {5, 1}));
  // Nearly parallel: |den| = 10 * 0.000005 < 0.0001.
  EXPECT_FALSE(SegmentsIntersect({0, 0}, {10, 0}, {0, 0}, {10, 0.000005f}));
}

TEST(ConvexPolygonContains, EdgesAndDegenerateShapes) {
  const Polygon square = Square(0, 0, 10);
  EXPECT_TRUE(ConvexPolygonContains(square, {5, 5}));
  EXPECT_FALSE(ConvexPolygonContains(square, {11, 5}));
  // Clockwise and anticlockwise orders both work.
  const Polygon reversed(square.rbegin(), square.rend());
  EXPECT_TRUE(ConvexPolygonContains(reversed, {5, 5}));
  EXPECT_FALSE(ConvexPolygonContains(reversed, {-1, 5}));
  EXPECT_FALSE(ConvexPolygonContains(Polygon{{0, 0}, {10, 10}}, {5, 5}));
}

struct NodeShapeTest : ::testing::Test {
  ControllerRig rig;
  SceneNode& node = *rig.node;
};

TEST_F(NodeShapeTest, OutlineFollowsTheWorldMatrix) {
  EXPECT_FALSE(NodeOutline(node).has_value());  // no instance
  EXPECT_FALSE(ContainsPoint(node, {0, 0}));
  rig.Place(node, {5, 6}, {10, 20});
  MatrixTransform scale;
  scale.SetScale(2, 1);
  node.display().world().PreMultiply(scale);  // scale first, then the translation
  const Outline outline = *NodeOutline(node);
  const Outline expected = {Vec2{5, 6}, Vec2{25, 6}, Vec2{25, 26}, Vec2{5, 26}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(outline[i].x, expected[i].x) << i;
    EXPECT_FLOAT_EQ(outline[i].y, expected[i].y) << i;
  }
}

TEST_F(NodeShapeTest, PointsOnTheEdgeAreInside) {
  rig.Place(node, {10, 10}, {20, 10});
  EXPECT_TRUE(ContainsPoint(node, {10, 10}));
  EXPECT_TRUE(ContainsPoint(node, {30, 20}));
  EXPECT_TRUE(ContainsPoint(node, {20, 10}));
  EXPECT_FALSE(ContainsPoint(node, {30.01f, 15}));
  EXPECT_FALSE(ContainsPoint(node, {20, 9.99f}));
}

TEST_F(NodeShapeTest, NegativeExtentsCoverTheOtherSide) {
  rig.Place(node, {10, 10}, {-5, -5});
  EXPECT_TRUE(ContainsPoint(node, {5, 5}));
  EXPECT_TRUE(ContainsPoint(node, {7, 9}));
  EXPECT_FALSE(ContainsPoint(node, {11, 9}));
}

TEST_F(NodeShapeTest, RotatedNodes) {
  rig.Place(node, {0, 0}, {10, 10});
  node.display().world().SetRotation(3.14159265f / 4);
  // The square stands on its corner: (0, 0) to (0, 14.14) along y.
  EXPECT_TRUE(ContainsPoint(node, {0, 10}));
  EXPECT_FALSE(ContainsPoint(node, {6, 1}));
}

TEST_F(NodeShapeTest, ACollapsedMatrixContainsNothing) {
  rig.Place(node, {0, 0}, {10, 10});
  node.display().world().SetScale(0, 1);
  EXPECT_FALSE(ContainsPoint(node, {0, 5}));
  // A nearly collapsed one maps far points beyond the float range: they are outside.
  node.display().world().SetScale(1e-20f, 1e-20f);
  EXPECT_TRUE(ContainsPoint(node, {5e-20f, 5e-20f}));
  EXPECT_FALSE(ContainsPoint(node, {1e30f, -1e30f}));
}

TEST_F(NodeShapeTest, RepeatsScaleTheOutlineAndMirroredOnesStayInPlace) {
  rig.Place(node, {100, 0}, {10, 4});
  auto& repeat = *FieldsOf<12>(node.display().AddProperty(12));
  repeat.count_x = 3;
  repeat.count_y = 2;
  Outline outline = *NodeOutline(node);
  EXPECT_EQ(outline[2], (Vec2{130, 8}));
  EXPECT_TRUE(ContainsPoint(node, {129, 7}));
  // A mirrored single repeat flips the extent about its own middle: same place.
  repeat.count_x = -1;
  repeat.count_y = -1;
  outline = *NodeOutline(node);
  EXPECT_EQ(outline[0], (Vec2{110, 4}));
  EXPECT_EQ(outline[2], (Vec2{100, 0}));
  EXPECT_TRUE(ContainsPoint(node, {101, 1}));
  EXPECT_FALSE(ContainsPoint(node, {99, 1}));
  // A count of 0 collapses the node.
  repeat.count_x = 0;
  EXPECT_FALSE(ContainsPoint(node, {101, 1}));
}

struct PixelHitTest : NodeShapeTest {
  ImageObject image;
  MaskedImage* texture = nullptr;

  // A 16 by 8 texture that is opaque only in its left half.
  void SetUp() override {
    auto owned = std::make_unique<MaskedImage>(rig.provider, ImageSize{16, 8},
                                               [](int32_t x, int32_t) { return x < 8; });
    texture = owned.get();
    owned->LoadDirectly();
    rig.document.resources().Add(5, std::move(owned));
    ImageRecord record;
    record.id = 1;
    record.image = 5;
    record.size = {16, 8};
    image.Load(record);
    image.Attach(1, rig.document);
    node.set_instance(std::make_unique<SizedInstance>(image, Vec2{16, 8}));
    node.display().AddProperty(11);
    node.display().AddProperty(12);
  }
};

TEST_F(PixelHitTest, AsksTheTextureAtTheMappedPixel) {
  node.display().world().SetTranslation(100, 50);
  EXPECT_TRUE(PixelHit(node, {103, 52}));
  EXPECT_FALSE(PixelHit(node, {110, 52}));
  EXPECT_EQ(texture->asked.back(), (std::pair<int32_t, int32_t>{10, 2}));
}

TEST_F(PixelHitTest, TextureOffsetsShiftTheTexture) {
  // Origin 0.25 plus offset 0.25: the texture starts half-way, so x 0 shows pixel 8.
  ImageRecord record = image.record();
  record.texture_origin = {0.25f, 0.0f};
  image.Load(record);
  FieldsOf<11>(node.display().holder(11))->offset = {0.25f, -0.5f};
  EXPECT_FALSE(PixelHit(node, {1, 1}));
  EXPECT_EQ(texture->asked.back(), (std::pair<int32_t, int32_t>{9, 5}));
  EXPECT_TRUE(PixelHit(node, {9, 1}));  // 8 + 9 wraps to 1
}

TEST_F(PixelHitTest, MirroredRepeatsFlipOddTiles) {
  auto& repeat = *FieldsOf<12>(node.display().holder(12));
  repeat.count_x = 2;
  repeat.mirror_x = Flag(true);
  // Tile 1 (x 16 to 32) is mirrored: local x 18 shows pixel 16 - 2 = 14.
  EXPECT_FALSE(PixelHit(node, {18, 1}));
  EXPECT_EQ(texture->asked.back(), (std::pair<int32_t, int32_t>{14, 1}));
  EXPECT_TRUE(PixelHit(node, {30, 1}));
  repeat.mirror_x = Flag(false);
  EXPECT_TRUE(PixelHit(node, {18, 1}));
}

TEST_F(PixelHitTest, PixelsAskedForLieInsideTheTexture) {
  // Points left of and above the node (negative local coordinates) wrap into the texture.
  EXPECT_TRUE(PixelHit(node, {-15, -1}));
  EXPECT_EQ(texture->asked.back(), (std::pair<int32_t, int32_t>{1, 7}));
  for (const auto& [x, y] : texture->asked) {
    EXPECT_GE(x, 0);
    EXPECT_LT(x, 16);
    EXPECT_GE(y, 0);
    EXPECT_LT(y, 8);
  }
}

TEST_F(PixelHitTest, NoPixelTestWithoutTextureOrExtent) {
  node.set_instance(std::make_unique<SizedInstance>(image, Vec2{0.5f, 8}));
  EXPECT_FALSE(PixelHit(node, {0, 0}));  // the extent truncates to 0
  node.set_instance(std::make_unique<SizedInstance>(rig.rect, Vec2{16, 8}));
  EXPECT_FALSE(PixelHit(node, {1, 1}));  // not an image
  EXPECT_TRUE(texture->asked.empty());
}

}  // namespace
}  // namespace cva::testing
