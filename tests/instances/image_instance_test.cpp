// Image instances: repeated cells with their offsets and mirrored texture transforms, negative
// and zero counts, and swapping the shown image through property 9 (drawing, size, pixel hits).

#include "scene/objects/image_instance.h"
#include "instance_rig.h"
#include "scene/cell_budget.h"
#include "scene/hit/node_shape.h"
#include "scene/objects/textured_objects.h"

namespace cva::testing {
namespace {

TexRepeatValue Repeat(int16_t cx, int16_t cy, bool mirror_x, bool mirror_y) {
  TexRepeatValue value;
  value.count_x = cx;
  value.count_y = cy;
  value.mirror_x = Flag(mirror_x);
  value.mirror_y = Flag(mirror_y);
  return value;
}

ImageRecord Image(int16_t id, Vec2 size, int16_t image, Colour colour = {}) {
  ImageRecord record;
  record.id = id;
  record.size = size;
  record.image = image;
  record.colour = colour;
  return record;
}

class ImageInstanceTest : public InstanceTest {
 protected:
  // Image object 1 (16 x 8 on a 32 x 16 picture) placed by node 1 at (100, 50), with
  // `motions` at label 0; image object 2 (20 x 10) and rectangle 3 exist for swapping.
  void LoadImage(std::vector<MotionEntry> motions) {
    AddImage("a.png", 32, 16);
    AddImage("b.png", 40, 20);
    motions.push_back(Hold<2>(At(100, 50)));
    DocumentFile file = MakeDocument(Node(0, {}, {Placing(1, 1, std::move(motions))}));
    file.resources.items = {Resource(0, ResourceKind::kImage, "a.png"),
                            Resource(1, ResourceKind::kImage, "b.png")};
    file.objects.items = {Object(Image(1, {16, 8}, 0, {255, 255, 255, 128})),
                          Object(Image(2, {20, 10}, 1)), Object(RectRecord{3, {5, 5}, {}})};
    Load(file);
  }
  ImageInstance& Instance() { return dynamic_cast<ImageInstance&>(*NodeById(1).instance()); }
};

TEST_F(ImageInstanceTest, MirroredRepeatDrawsTheSecondCellShiftedAndReversed) {
  LoadImage({Hold<12>(Repeat(2, 1, true, false))});
  const auto draws = TickAndDraw(0.0f);
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(draws[0].primitive, draws[1].primitive);
  const Vec2 first = Apply(draws[0].world, {0, 0});
  const Vec2 second = Apply(draws[1].world, {0, 0});
  EXPECT_FLOAT_EQ(first.x, 100.0f);
  EXPECT_FLOAT_EQ(second.x, 116.0f);
  EXPECT_FLOAT_EQ(second.y, 50.0f);
  // The image spans half of its texture each way (16 of 32, 8 of 16 pixels).
  EXPECT_EQ(draws[0].texture, Matrix4::Identity());
  const Vec2 left = TexApply(draws[1].texture, {0.0f, 0.25f});
  const Vec2 right = TexApply(draws[1].texture, {0.5f, 0.25f});
  EXPECT_FLOAT_EQ(left.x, 0.5f);
  EXPECT_FLOAT_EQ(right.x, 0.0f);
  EXPECT_FLOAT_EQ(left.y, 0.25f);  // not mirrored down
  EXPECT_EQ(draws[1].colour, (Colour{255, 255, 255, 128}));
}

TEST_F(ImageInstanceTest, NegativeCountsLayCellsOutBackwardsAndMirrorOddRows) {
  LoadImage({Hold<12>(Repeat(-2, -2, false, true))});
  const auto draws = TickAndDraw(0.0f);
  ASSERT_EQ(draws.size(), 4u);
  const Vec2 expected[] = {{100, 50}, {84, 50}, {100, 42}, {84, 42}};
  for (size_t k = 0; k < 4; ++k) {
    const Vec2 origin = Apply(draws[k].world, {0, 0});
    EXPECT_FLOAT_EQ(origin.x, expected[k].x) << k;
    EXPECT_FLOAT_EQ(origin.y, expected[k].y) << k;
  }
  // Row 1 is mirrored vertically only; columns are not mirrored.
  EXPECT_EQ(draws[1].texture, Matrix4::Identity());
  const Vec2 top = TexApply(draws[2].texture, {0.25f, 0.0f});
  EXPECT_FLOAT_EQ(top.x, 0.25f);
  EXPECT_FLOAT_EQ(top.y, 0.5f);
  EXPECT_EQ(draws[3].texture, draws[2].texture);
}

TEST_F(ImageInstanceTest, ZeroCountDrawsNothing) {
  LoadImage({Hold<12>(Repeat(0, 3, false, false))});
  EXPECT_TRUE(TickAndDraw(0.0f).empty());
}

TEST_F(ImageInstanceTest, MirroringKeepsTheTextureOffset) {
  TexOffsetValue offset;
  offset.offset = {0.125f, 0.0f};
  LoadImage({Hold<12>(Repeat(2, 1, true, false)), Hold<11>(offset)});
  const auto draws = TickAndDraw(0.0f);
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_FLOAT_EQ(TexApply(draws[0].texture, {0, 0}).x, 0.125f);
  // Shifted by the offset, turned about 0, then moved back by the extent 0.5.
  EXPECT_FLOAT_EQ(TexApply(draws[1].texture, {0, 0}).x, 0.375f);
}

TEST_F(ImageInstanceTest, HugeRepeatCountsAreLimited) {
  LoadImage({Hold<12>(Repeat(32767, -32768, true, true))});
  EXPECT_EQ(static_cast<int64_t>(TickAndDraw(0.0f).size()), CellBudget::kCellsPerFrame);
}

TEST_F(ImageInstanceTest, EveryFrameDrawsAtMostItsCellBudgetOverAllNodes) {
  AddImage("a.png", 32, 16);
  const std::vector<MotionEntry> tiled = {Hold<12>(Repeat(32767, 2, false, false))};
  DocumentFile file = MakeDocument(Node(0, {}, {Placing(1, 1, tiled), Placing(2, 1, tiled)}));
  file.resources.items = {Resource(0, ResourceKind::kImage, "a.png")};
  file.objects.items = {Object(Image(1, {16, 8}, 0))};
  Load(file);
  for (int frame = 0; frame < 2; ++frame)
    EXPECT_EQ(static_cast<int64_t>(TickAndDraw(0.0f).size()), CellBudget::kCellsPerFrame);
}

TEST_F(ImageInstanceTest, SwapShowsAnotherImageObjectUntilReset) {
  LoadImage({Hold<9>(ImageSwapValue{2})});
  const auto before = TickAndDraw(0.0f);  // the swap keyframe is reached in this tick
  ASSERT_EQ(before.size(), 1u);
  EXPECT_EQ(static_cast<SceneObject*>(&Instance().Shown()), host.document()->objects().Find(2));
  EXPECT_EQ(Instance().Size(), (Vec2{20, 10}));
  EXPECT_EQ(before[0].colour, (Colour{255, 255, 255, 255}));  // image 2's own colour

  Instance().Reset();
  EXPECT_EQ(static_cast<SceneObject*>(&Instance().Shown()), host.document()->objects().Find(1));
  EXPECT_EQ(Instance().Size(), (Vec2{16, 8}));
}

TEST_F(ImageInstanceTest, SwapToMinusOneOrToAnObjectThatIsNoImageShowsTheOwnImage) {
  LoadImage({Hold<9>(ImageSwapValue{3})});
  TickAndDraw(0.0f);
  EXPECT_EQ(static_cast<SceneObject*>(&Instance().Shown()), host.document()->objects().Find(1));
  LoadImage({Hold<9>(ImageSwapValue{-1})});
  TickAndDraw(0.0f);
  EXPECT_EQ(static_cast<SceneObject*>(&Instance().Shown()), host.document()->objects().Find(1));
}

TEST_F(ImageInstanceTest, PixelHitsAskTheShownImage) {
  AddImage("a.png", 16, 8);
  ImageRecord unloaded = Image(2, {16, 8}, 9);  // resource 9 does not exist
  DocumentFile file = MakeDocument(Node(0, {}, {Placing(1, 1)}));
  file.resources.items = {Resource(0, ResourceKind::kImage, "a.png")};
  file.objects.items = {Object(Image(1, {16, 8}, 0)), Object(unloaded)};
  AddLabelName(file, 4, "swap");
  file.root.children.items[0].labels.items.push_back(Label(4, {Hold<9>(ImageSwapValue{2})}));
  Load(file);
  TickAndDraw(0.0f);
  EXPECT_TRUE(PixelHit(NodeById(1), {3, 3}));
  host.scene()->RequestLabel(4);
  TickAndDraw(0.0f);
  // The swapped-in image has no texture, so no pixel of it can be hit.
  EXPECT_FALSE(PixelHit(NodeById(1), {3, 3}));
}

}  // namespace
}  // namespace cva::testing
