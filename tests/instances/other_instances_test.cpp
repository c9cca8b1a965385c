// Panels (nine parts cut from the image and stretched over the panel), meshes, joints and
// particle emitters as they draw.

#include "instance_rig.h"
#include "scene/objects/panel_layout.h"

namespace cva::testing {
namespace {

TEST(PanelLayout, CornersKeepTheirSizeEdgesAndCentreStretch) {
  const auto parts = PanelLayout({100, 50}, {10, 5}, {30, 20});
  // Top left corner.
  EXPECT_EQ(parts[0].origin, (Vec2{0, 0}));
  EXPECT_EQ(parts[0].size, (Vec2{10, 5}));
  EXPECT_EQ(parts[0].source_size, (Vec2{10, 5}));
  // Centre: the image's middle 10 x 10 stretched over 80 x 40.
  EXPECT_EQ(parts[4].origin, (Vec2{10, 5}));
  EXPECT_EQ(parts[4].size, (Vec2{80, 40}));
  EXPECT_EQ(parts[4].source_origin, (Vec2{10, 5}));
  EXPECT_EQ(parts[4].source_size, (Vec2{10, 10}));
  // Bottom right corner.
  EXPECT_EQ(parts[8].origin, (Vec2{90, 45}));
  EXPECT_EQ(parts[8].source_origin, (Vec2{20, 15}));
}

TEST(PanelLayout, BordersAreLimitedToHalfThePanelAndHalfTheImage) {
  auto parts = PanelLayout({100, 50}, {40, 100}, {30, 20});
  EXPECT_EQ(parts[0].size, (Vec2{15, 10}));  // half the image
  EXPECT_EQ(parts[4].source_size, (Vec2{0, 0}));
  parts = PanelLayout({8, 6}, {-3, 20}, {});
  EXPECT_EQ(parts[0].size, (Vec2{0, 3}));  // a negative border is none; half the panel
  // Untextured: every part shows what it covers.
  EXPECT_EQ(parts[4].source_size, parts[4].size);
  EXPECT_EQ(parts[4].size, (Vec2{8, 0}));
}

class OtherInstancesTest : public InstanceTest {};

TEST_F(OtherInstancesTest, PanelDrawsItsPartsStretchedIntoPlace) {
  AddImage("panel.png", 30, 20);
  PanelRecord panel;
  panel.id = 1;
  panel.vec_a = {100, 50};
  panel.vec_b = {10, 5};
  panel.image = 0;
  panel.colour = {255, 255, 255, 100};
  DocumentFile file = MakeDocument(Node(0, {}, {Placing(1, 1, {Hold<2>(At(20, 10))})}));
  file.resources.items = {Resource(0, ResourceKind::kImage, "panel.png")};
  file.objects.items = {Object(panel)};
  Load(file);
  const auto draws = TickAndDraw(0.0f);
  ASSERT_EQ(draws.size(), 9u);
  // The centre part: its 10 x 10 sprite scaled to 80 x 40 at (10, 5) inside the node.
  EXPECT_EQ(Apply(draws[4].world, {0, 0}), (Vec2{30, 15}));
  EXPECT_EQ(Apply(draws[4].world, {10, 10}), (Vec2{110, 55}));
  EXPECT_EQ(Apply(draws[8].world, {10, 5}), (Vec2{120, 60}));
  EXPECT_EQ(draws[0].colour, (Colour{255, 255, 255, 100}));
  EXPECT_EQ(NodeById(1).instance()->Size(), (Vec2{100, 50}));
}

TEST_F(OtherInstancesTest, MeshDrawsAtTheNodeAndJointsDrawNothing) {
  MeshRecord mesh;
  mesh.id = 1;
  mesh.colour = {10, 20, 30, 255};
  mesh.vertices.items = {{0, 0, 0}, {40, 0, 0}, {0, 30, 0}};
  mesh.width = 41;
  mesh.height = 31;
  mesh.x_code = 2;
  mesh.y_code = 2;
  mesh.index_count = 3;
  mesh.index_code = 1;
  mesh.indices = {0, 1, 2};
  JointRecord joint;
  joint.id = 2;
  joint.size = {6, 7};
  DocumentFile file = MakeDocument(
      Node(0, {}, {Placing(1, 1, {Hold<2>(At(3, 4))}), Placing(2, 2, {Hold<2>(At(9, 9))})}));
  file.objects.items = {Object(mesh), Object(joint)};
  Load(file);
  const auto draws = TickAndDraw(0.0f);
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].kind, DrawRecord::Kind::kMesh);
  EXPECT_EQ(draws[0].colour, (Colour{10, 20, 30, 255}));
  EXPECT_EQ(Apply(draws[0].world, {0, 0}), (Vec2{3, 4}));
  EXPECT_EQ(NodeById(1).instance()->Size(), (Vec2{40, 30}));
  EXPECT_EQ(NodeById(2).instance()->Size(), (Vec2{6, 7}));
}

TEST_F(OtherInstancesTest, ParticleEmitterShowsItsSpriteOnceAndAddsItsSettings) {
  ParticleRecord particle;
  particle.id = 1;
  particle.size = {8, 8};
  particle.colour = {255, 0, 0, 255};
  DocumentFile file = MakeDocument(Node(0, {}, {Placing(1, 1, {Hold<2>(At(50, 60))})}));
  file.objects.items = {Object(particle)};
  Load(file);
  const auto draws = TickAndDraw(0.0f);
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].kind, DrawRecord::Kind::kSpritePlain);
  EXPECT_EQ(draws[0].colour, (Colour{255, 0, 0, 255}));
  EXPECT_EQ(Apply(draws[0].world, {0, 0}), (Vec2{50, 60}));
  EXPECT_TRUE(NodeById(1).display().HasProperty(25));
}

}  // namespace
}  // namespace cva::testing
