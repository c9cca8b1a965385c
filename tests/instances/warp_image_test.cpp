// Warped image grids: the vertices computed from the four corners, the mesh they are written
// to and drawn with, and the bounded grid size.

#include "instance_rig.h"
#include "scene/objects/warp_image_instance.h"
#include "scene/objects/warp_image_object.h"

namespace cva::testing {
namespace {

CornerValue Corner(Vec2 position, Vec2 row_tangent = {}, Vec2 column_tangent = {}) {
  return {position, row_tangent, column_tangent};
}

TEST(WarpGridVertices, TangentsOfAThirdOfTheSideGiveAnEvenGrid) {
  // With tangents of one third of each side (scaled by 3 they span the side) every curve is
  // a straight line travelled evenly.
  const Vec2 row{10, 0}, column{0, 20};
  const auto vertices =
      WarpGridVertices(Corner({0, 0}, row, column), Corner({30, 0}, row, column),
                       Corner({30, 60}, row, column), Corner({0, 60}, row, column), 3, 2);
  ASSERT_EQ(vertices.size(), 12u);
  for (int j = 0; j <= 2; ++j) {
    for (int i = 0; i <= 3; ++i) {
      const Vec2 v = vertices[static_cast<size_t>(j * 4 + i)];
      EXPECT_NEAR(v.x, 10.0f * static_cast<float>(i), 1e-4f) << i << "," << j;
      EXPECT_NEAR(v.y, 30.0f * static_cast<float>(j), 1e-4f) << i << "," << j;
    }
  }
}

TEST(WarpGridVertices, ZeroTangentsEaseAlongEachCurve) {
  const auto vertices =
      WarpGridVertices(Corner({0, 0}), Corner({27, 0}), Corner({27, 27}), Corner({0, 27}), 3, 1);
  ASSERT_EQ(vertices.size(), 8u);
  // h01(1/3) = 3/9 - 2/27 = 7/27 of the way along the row.
  EXPECT_NEAR(vertices[1].x, 7.0f, 1e-4f);
  EXPECT_NEAR(vertices[2].x, 20.0f, 1e-4f);
  EXPECT_NEAR(vertices[7].y, 27.0f, 1e-4f);
  EXPECT_TRUE(WarpGridVertices(Corner({}), Corner({}), Corner({}), Corner({}), 0, 4).empty());
}

TEST(WarpGridVertices, RowTangentsBlendDownTheGrid) {
  // Only the top-left corner has a row tangent: the top row bulges, the bottom row does not.
  const auto vertices = WarpGridVertices(Corner({0, 0}, {0, 9}), Corner({30, 0}), Corner({30, 30}),
                                         Corner({0, 30}), 2, 1);
  ASSERT_EQ(vertices.size(), 6u);
  // Top middle: h10(1/2) x 3 x 9 = 0.125 x 27.
  EXPECT_NEAR(vertices[1].y, 3.375f, 1e-4f);
  EXPECT_NEAR(vertices[4].y, 30.0f, 1e-4f);
}

class WarpInstanceTest : public InstanceTest {
 protected:
  void LoadWarp(int32_t columns, int32_t rows, std::vector<MotionEntry> motions) {
    WarpImageRecord warp;
    warp.id = 1;
    warp.columns = columns;
    warp.rows = rows;
    warp.colour = {128, 255, 255, 255};
    motions.push_back(Hold<2>(At(40, 30)));
    DocumentFile file = MakeDocument(Node(0, {}, {Placing(1, 1, std::move(motions))}));
    file.objects.items = {Object(warp)};
    Load(file);
  }
};

TEST_F(WarpInstanceTest, DrawWritesTheGridToTheMeshAndDrawsItAtTheNode) {
  LoadWarp(2, 1,
           {Hold<21>(Corner({0, 0})), Hold<22>(Corner({20, 0})), Hold<23>(Corner({20, 10})),
            Hold<24>(Corner({0, 10}))});
  const auto draws = TickAndDraw(0.0f);
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].kind, DrawRecord::Kind::kMesh);
  EXPECT_EQ(draws[0].colour, (Colour{128, 255, 255, 255}));
  EXPECT_FLOAT_EQ(Apply(draws[0].world, {0, 0}).x, 40.0f);
  ASSERT_EQ(provider.meshes.size(), 1u);
  const std::vector<Vec2> expected = {{0, 0}, {10, 0}, {20, 0}, {0, 10}, {10, 10}, {20, 10}};
  EXPECT_EQ(provider.meshes[0]->positions(), expected);
  auto& warp = dynamic_cast<WarpImageInstance&>(*NodeById(1).instance());
  EXPECT_EQ(warp.Size(), (Vec2{20, 10}));
}

TEST_F(WarpInstanceTest, GridWithoutCellsDrawsNothing) {
  LoadWarp(0, 5, {});
  EXPECT_TRUE(provider.meshes.empty());
  EXPECT_TRUE(TickAndDraw(0.0f).empty());
}

TEST_F(WarpInstanceTest, HugeCountsAreBoundedToWhatSixteenBitIndicesAddress) {
  LoadWarp(1'000'000, 70'000, {});
  ASSERT_EQ(provider.meshes.size(), 1u);
  const size_t side = WarpImageObject::kMaxCells + 1;
  EXPECT_EQ(provider.meshes[0]->positions().size(), side * side);
  EXPECT_LE(side * side, 65536u);
  EXPECT_EQ(TickAndDraw(0.0f).size(), 1u);
}

}  // namespace
}  // namespace cva::testing
