// Coverage, sampling and the pixel pipeline of the software renderer.

#include <gtest/gtest.h>

#include <limits>
#include <numbers>
#include <vector>

#include "render/matrix_transform.h"
#include "soft_test_support.h"

namespace cva::testing {
namespace {

// The pixels of the frame whose red channel is not 0, as a picture of '#' and '.'.
std::string Coverage(const SoftFrame& frame) {
  std::string picture;
  for (int32_t y = 0; y < frame.provider.height(); ++y) {
    for (int32_t x = 0; x < frame.provider.width(); ++x) {
      picture += frame.At(x, y).r != 0 ? '#' : '.';
    }
    picture += '\n';
  }
  return picture;
}

TEST(SoftRasterTest, PixelCentresAreIntegerPoints) {
  SoftFrame frame(4, 3);
  frame.Modes(DrawState::kBlendOpaque, DrawState::kNoMask, 255);
  frame.Quad({0, 0}, {2, 2}, {255, 0, 0, 255});                // centres (0..1, 0..1)
  frame.Quad({2.5f, 0.5f}, {1, 1}, {255, 0, 0, 255});          // contains only the centre (3, 1)
  frame.Quad({0.25f, 2.25f}, {0.5f, 0.5f}, {255, 0, 0, 255});  // contains no centre
  EXPECT_EQ(Coverage(frame),
            "##..\n"
            "##.#\n"
            "....\n");
}

TEST(SoftRasterTest, EdgesThroughPixelCentresFollowTheTopLeftRule) {
  SoftFrame frame(6, 6);
  frame.Modes(DrawState::kBlendOpaque, DrawState::kNoMask, 255);
  // A right triangle whose three edges all pass through pixel centres: the top edge (y = 1)
  // and the left edge (x = 1) keep their pixels, the diagonal (a right edge) does not.
  auto mesh = frame.provider.CreateMesh(3, 3);
  mesh->LockVertices();
  mesh->SetPosition(0, {1, 1});
  mesh->SetPosition(1, {5, 1});
  mesh->SetPosition(2, {1, 5});
  mesh->UnlockVertices();
  const uint16_t indices[] = {0, 1, 2};
  mesh->SetIndices(indices);
  MatrixTransform identity;
  mesh->Draw(identity, {255, 0, 0, 255}, identity);
  EXPECT_EQ(Coverage(frame),
            "......\n"
            ".####.\n"
            ".###..\n"
            ".##...\n"
            ".#....\n"
            "......\n");
}

// Triangles that share edges cover every pixel once: with additive blending a pixel drawn
// twice would show twice the colour, a gap would stay black.
TEST(SoftRasterTest, SharedEdgesCoverEachPixelExactlyOnce) {
  SoftFrame frame(10, 10);
  frame.Modes(DrawState::kBlendAdditive, DrawState::kNoMask, 255);
  // A pinwheel of eight triangles around (4, 4) filling the square (0, 0)..(8, 8); every
  // shared edge runs through pixel centres (diagonals, verticals and horizontals).
  const Vec2 ring[] = {{0, 0}, {4, 0}, {8, 0}, {8, 4}, {8, 8}, {4, 8}, {0, 8}, {0, 4}};
  auto mesh = frame.provider.CreateMesh(9, 24);
  mesh->LockVertices();
  mesh->SetPosition(0, {4, 4});
  for (int32_t i = 0; i < 8; ++i) mesh->SetPosition(i + 1, ring[i]);
  mesh->UnlockVertices();
  std::vector<uint16_t> indices;
  for (uint16_t i = 0; i < 8; ++i) {
    indices.insert(indices.end(),
                   {0, static_cast<uint16_t>(i + 1), static_cast<uint16_t>((i + 1) % 8 + 1)});
  }
  mesh->SetIndices(indices);
  MatrixTransform identity;
  mesh->Draw(identity, {100, 0, 0, 255}, identity);
  // Two columns sharing the edge x = 9, and a band below sharing y = 8 with the pinwheel.
  frame.Quad({8, 0}, {1, 10}, {100, 0, 0, 255});
  frame.Quad({9, 0}, {1, 10}, {100, 0, 0, 255});
  frame.Quad({0, 8}, {8, 2}, {100, 0, 0, 255});
  for (int32_t y = 0; y < 10; ++y) {
    for (int32_t x = 0; x < 10; ++x) {
      ASSERT_EQ(frame.At(x, y).r, 100) << "pixel " << x << ", " << y;
    }
  }
}

TEST(SoftRasterTest, RotatedGridLeavesNoSeamAndNoOverlap) {
  SoftFrame frame(16, 16);
  frame.Modes(DrawState::kBlendAdditive, DrawState::kNoMask, 255);
  // A 10 x 5 rectangle made of four triangles around its middle line, turned by 30 degrees:
  // the shared edges are not aligned with the pixel grid.
  MatrixTransform world, rotation;
  rotation.SetRotation(std::numbers::pi_v<float> / 6);
  world.SetTranslation(4, 1);
  world.PreMultiply(rotation);
  auto mesh = frame.provider.CreateMesh(6, 12);
  const Vec2 corners[] = {{0, 0}, {5, 0}, {10, 0}, {0, 5}, {5, 5}, {10, 5}};
  mesh->LockVertices();
  for (int32_t i = 0; i < 6; ++i) mesh->SetPosition(i, corners[i]);
  mesh->UnlockVertices();
  const uint16_t indices[] = {0, 1, 4, 0, 4, 3, 1, 2, 5, 1, 5, 4};
  mesh->SetIndices(indices);
  mesh->Draw(world, {100, 0, 0, 255}, MatrixTransform());
  MatrixTransform inverse;
  inverse.CopyFrom(world);
  inverse.Invert();
  int32_t covered = 0;
  for (int32_t y = 0; y < 16; ++y) {
    for (int32_t x = 0; x < 16; ++x) {
      const uint8_t r = frame.At(x, y).r;
      ASSERT_TRUE(r == 0 || r == 100) << "pixel " << x << ", " << y << " drawn twice";
      covered += r == 100;
      // Centres clearly inside the rectangle are drawn, those clearly outside are not.
      const Vec2 local = inverse.TransformPoint({static_cast<float>(x), static_cast<float>(y)});
      const bool inside = local.x > 0.01f && local.x < 9.99f && local.y > 0.01f && local.y < 4.99f;
      const bool outside =
          local.x < -0.01f || local.x > 10.01f || local.y < -0.01f || local.y > 5.01f;
      if (inside) {
        EXPECT_EQ(r, 100) << "gap at " << x << ", " << y;
      }
      if (outside) {
        EXPECT_EQ(r, 0) << "spill at " << x << ", " << y;
      }
    }
  }
  EXPECT_GT(covered, 40);
}

TEST(SoftRasterTest, CounterClockwiseTrianglesAreCulledUnlessCullingIsOff) {
  SoftFrame frame(4, 4);
  frame.Modes(DrawState::kBlendOpaque, DrawState::kNoMask, 255);
  auto quad = frame.provider.CreateSolidQuad();
  quad->SetSize({2, 2});
  MatrixTransform mirrored;
  mirrored.SetScale(-1, 1);
  MatrixTransform shift;
  shift.SetTranslation(3, 0);
  mirrored.PostMultiply(shift);  // covers x from 1 to 3
  quad->Draw(mirrored, {255, 0, 0, 255});
  EXPECT_EQ(Coverage(frame), "....\n....\n....\n....\n");
  frame.provider.SetCullCounterClockwise(false);
  quad->Draw(mirrored, {255, 0, 0, 255});
  EXPECT_EQ(Coverage(frame), ".##.\n.##.\n....\n....\n");
}

TEST(SoftRasterTest, FrameClearsToTheBackgroundAndFollowsResize) {
  SoftFrame frame(3, 2, {10, 20, 30, 0});
  EXPECT_EQ(frame.At(2, 1), (Texel{10, 20, 30, 255}));
  frame.provider.Resize(5, 4);
  frame.provider.BeginFrame();
  frame.Quad({4, 3}, {1, 1}, {255, 0, 0, 255});  // the last pixel of the new size
  EXPECT_EQ(frame.provider.width(), 5);
  EXPECT_EQ(frame.At(4, 3).r, 255);
  EXPECT_EQ(frame.At(0, 0), (Texel{10, 20, 30, 255}));
}

TEST(SoftTextureTest, PointSamplingWrapsAndSnapsToTexels) {
  const SoftTexture texture = TextureOf({{kRed, kGreen, kBlue, kWhite}});
  EXPECT_EQ(texture.SampleWrapPoint(0.0f, 0.0f), kRed);
  EXPECT_EQ(texture.SampleWrapPoint(0.26f, 0.0f), kGreen);
  // A centre mapped to a texel boundary with float rounding below it stays on that texel.
  EXPECT_EQ(texture.SampleWrapPoint(0.5f - 1e-7f, 0.0f), kBlue);
  EXPECT_EQ(texture.SampleWrapPoint(1.0f, 3.0f), kRed);      // wraps to 0
  EXPECT_EQ(texture.SampleWrapPoint(-0.25f, 0.0f), kWhite);  // wraps from below
  EXPECT_EQ(texture.SampleWrapPoint(1e30f, 0.0f).a, 255);    // huge stays inside
  EXPECT_EQ(SoftTexture::WrapIndex(std::numeric_limits<float>::quiet_NaN(), 4), 0);
}

class SoftSpriteTest : public ::testing::Test {
 protected:
  SoftSpriteTest() : frame(8, 2) {
    frame.Modes(DrawState::kBlendOpaque, DrawState::kNoMask, 255);
    image = frame.Image(
        "strip.png",
        PngOf(TextureOf({{kRed, kGreen, kBlue, kWhite}, {kBlack, kRed, kGreen, kBlue}})));
    sprite = frame.provider.CreateSprite();
    sprite->SetImage(image.get());
  }
  std::vector<Texel> Row(int32_t y, int32_t count) {
    std::vector<Texel> row;
    for (int32_t x = 0; x < count; ++x) row.push_back(frame.At(x, y));
    return row;
  }

  SoftFrame frame;
  std::unique_ptr<ImageResource> image;
  std::unique_ptr<Sprite> sprite;
};

TEST_F(SoftSpriteTest, ImageSizedSpriteMapsOneTexelPerPixelAndLargerSizesRepeat) {
  ASSERT_TRUE(image->done());
  sprite->SetSize({4, 2});
  MatrixTransform identity;
  sprite->DrawPlain(identity, {255, 255, 255, 255});
  EXPECT_EQ(Row(0, 5), (std::vector<Texel>{kRed, kGreen, kBlue, kWhite, kBlack}));
  EXPECT_EQ(Row(1, 4), (std::vector<Texel>{kBlack, kRed, kGreen, kBlue}));
  sprite->SetSize({8, 2});
  sprite->DrawPlain(identity, {255, 255, 255, 255});
  EXPECT_EQ(Row(0, 8),
            (std::vector<Texel>{kRed, kGreen, kBlue, kWhite, kRed, kGreen, kBlue, kWhite}));
}

TEST_F(SoftSpriteTest, TextureTransformAndUvOffsetShiftTheTexture) {
  sprite->SetSize({4, 1});
  MatrixTransform identity, half;
  half.SetTexOffset(0.5f, 0.0f);  // half the texture's width
  sprite->Draw(identity, {255, 255, 255, 255}, half);
  EXPECT_EQ(Row(0, 4), (std::vector<Texel>{kBlue, kWhite, kRed, kGreen}));
  // The uv offset is in units of the whole texture too: a quarter moves one texel; one row
  // down (v = 0.5) reaches the second image row.
  sprite->SetUvOffset({0.25f, 0.5f});
  sprite->DrawPlain(identity, {255, 255, 255, 255});
  EXPECT_EQ(Row(0, 4), (std::vector<Texel>{kRed, kGreen, kBlue, kBlack}));
  // A texture scale of 2 makes the four pixels show every other texel.
  MatrixTransform twice;
  twice.SetScale(2, 1);
  sprite->SetUvOffset({0, 0});
  sprite->Draw(identity, {255, 255, 255, 255}, twice);
  EXPECT_EQ(Row(0, 4), (std::vector<Texel>{kRed, kBlue, kRed, kBlue}));
}

TEST_F(SoftSpriteTest, ColourModulatesTextureAndAloneDrawsWithoutOne) {
  frame.Modes(DrawState::kBlendNormal, DrawState::kNoMask, 255);
  sprite->SetSize({4, 1});
  MatrixTransform identity;
  sprite->DrawPlain(identity, {255, 128, 0, 128});  // white texel (3, 0): half of (255, 128, 0)
  EXPECT_EQ(frame.At(3, 0), (Texel{128, 64, 0, 255}));
  EXPECT_EQ(frame.At(0, 0), (Texel{128, 0, 0, 255}));  // red texel
  auto plain = frame.provider.CreateSprite();
  plain->SetImage(nullptr);
  plain->SetSize({2, 1});
  MatrixTransform below;
  below.SetTranslation(0, 1);
  plain->DrawPlain(below, {255, 0, 0, 128});  // half-transparent red over black
  EXPECT_EQ(frame.At(1, 1), (Texel{128, 0, 0, 255}));
}

// Destination (100, 50, 200); source colour (200, 100, 0) with alpha 128.
struct BlendCase {
  int32_t mode;
  Texel expected;
};

class SoftBlendTest : public ::testing::TestWithParam<BlendCase> {};

TEST_P(SoftBlendTest, BlendsKnownColours) {
  SoftFrame frame(2, 1, {100, 50, 200, 255});
  frame.Modes(GetParam().mode, DrawState::kNoMask, 255);
  frame.Quad({0, 0}, {1, 1}, {200, 100, 0, 128});
  EXPECT_EQ(frame.At(0, 0), GetParam().expected);
  EXPECT_EQ(frame.At(1, 0), (Texel{100, 50, 200, 255}));
}

INSTANTIATE_TEST_SUITE_P(Modes, SoftBlendTest,
                         ::testing::Values(
                             // 200 x 0.502 + 100 x 0.498 = 150.2 ...
                             BlendCase{DrawState::kBlendNormal, {150, 75, 100, 255}},
                             // 200 x 0.502 + 100 x 1
                             BlendCase{DrawState::kBlendAdditive, {200, 100, 200, 255}},
                             // source x (1 - destination): 200 x (155 / 255) = 121.6 ...
                             BlendCase{DrawState::kBlendInverse, {122, 80, 0, 255}},
                             BlendCase{DrawState::kBlendOpaque, {200, 100, 0, 255}}));

TEST(SoftBlendModeTest, OpaqueIgnoresAlphaAndAdditiveSaturates) {
  SoftFrame frame(2, 1, {200, 200, 200, 255});
  frame.Modes(DrawState::kBlendOpaque, DrawState::kNoMask, 255);
  frame.Quad({0, 0}, {1, 1}, {10, 20, 30, 0});
  frame.Modes(DrawState::kBlendAdditive, DrawState::kNoMask, 255);
  frame.Quad({1, 0}, {1, 1}, {100, 100, 100, 255});
  EXPECT_EQ(frame.At(0, 0), (Texel{10, 20, 30, 255}));
  EXPECT_EQ(frame.At(1, 0), (Texel{255, 255, 255, 255}));
}

class SoftMaskTest : public ::testing::Test {
 protected:
  SoftMaskTest() : frame(4, 1, {0, 0, 0, 255}) {}
  // Writes a mask over pixels 1 and 2 with the given alpha and threshold.
  void WriteMask(uint8_t alpha, int32_t threshold) {
    MatrixTransform identity;
    frame.provider.BeginMask(identity, {4, 1});
    frame.Modes(DrawState::kBlendNormal, DrawState::kWriteMask, threshold);
    frame.Quad({1, 0}, {2, 1}, {255, 255, 255, alpha});
  }
  // Draws red over the whole row inside the mask.
  void DrawInside() {
    frame.Modes(DrawState::kBlendOpaque, DrawState::kInsideMask, 255);
    frame.Quad({0, 0}, {4, 1}, {255, 0, 0, 255});
  }
  std::string Row() {
    std::string row;
    for (int32_t x = 0; x < 4; ++x) row += frame.At(x, 0).r == 255 ? '#' : '.';
    return row;
  }
  SoftFrame frame;
};

TEST_F(SoftMaskTest, WrittenMaskDrawsNoColourAndClipsInsideDraws) {
  WriteMask(1, 255);  // threshold 255: any alpha above 0 writes
  EXPECT_EQ(Row(), "....");
  EXPECT_EQ(frame.provider.DepthAt(0, 0), 1.0f);
  EXPECT_EQ(frame.provider.DepthAt(1, 0), 0.0f);
  DrawInside();
  EXPECT_EQ(Row(), ".##.");
}

TEST_F(SoftMaskTest, ThresholdDecidesWhichAlphaWrites) {
  WriteMask(255, 0);  // reference 255: no alpha exceeds it
  DrawInside();
  EXPECT_EQ(Row(), "....");
  frame.provider.EndMask();
  WriteMask(200, 56);  // reference 199: 200 passes
  DrawInside();
  EXPECT_EQ(Row(), ".##.");
}

TEST_F(SoftMaskTest, InsideWithoutMaskShowsNothingAndNoMaskShowsAll) {
  DrawInside();
  EXPECT_EQ(Row(), "....");
  frame.Modes(DrawState::kBlendOpaque, DrawState::kNoMask, 255);
  frame.Quad({0, 0}, {4, 1}, {255, 0, 0, 255});
  EXPECT_EQ(Row(), "####");
}

TEST_F(SoftMaskTest, EndMaskErasesOnlyAMaskInUse) {
  // A mask written outside a group is not in use: neither EndMask nor the next BeginMask
  // erases it.
  frame.Modes(DrawState::kBlendNormal, DrawState::kWriteMask, 255);
  frame.Quad({1, 0}, {1, 1}, {255, 255, 255, 255});
  frame.provider.EndMask();
  MatrixTransform identity;
  frame.provider.BeginMask(identity, {});
  EXPECT_EQ(frame.provider.DepthAt(1, 0), 0.0f);
  // Inside a group: the next BeginMask ends the group and erases its mask; EndMask too.
  frame.Quad({2, 0}, {1, 1}, {255, 255, 255, 255});
  frame.provider.BeginMask(identity, {});
  EXPECT_EQ(frame.provider.DepthAt(1, 0), 1.0f);
  EXPECT_EQ(frame.provider.DepthAt(2, 0), 1.0f);
  frame.Quad({3, 0}, {1, 1}, {255, 255, 255, 255});
  frame.provider.EndMask();
  EXPECT_EQ(frame.provider.DepthAt(3, 0), 1.0f);
  DrawInside();
  EXPECT_EQ(Row(), "....");
}

TEST_F(SoftMaskTest, TexturedMaskFollowsTheImagesAlpha) {
  auto image = frame.Image("holes.png", PngOf(TextureOf({{kWhite, kClear, kWhite, kClear}})));
  auto sprite = frame.provider.CreateSprite();
  sprite->SetImage(image.get());
  sprite->SetSize({4, 1});
  MatrixTransform identity;
  frame.provider.BeginMask(identity, {4, 1});
  frame.Modes(DrawState::kBlendNormal, DrawState::kWriteMask, 255);
  sprite->DrawPlain(identity, {255, 255, 255, 255});
  DrawInside();
  EXPECT_EQ(Row(), "#.#.");
}

TEST(SoftMeshTest, IndicesOutsideTheCountsAreDroppedAndUnlockedWritesIgnored) {
  SoftFrame frame(4, 4);
  frame.Modes(DrawState::kBlendOpaque, DrawState::kNoMask, 255);
  auto mesh = frame.provider.CreateMesh(4, 6);
  mesh->SetPosition(0, {0, 0});  // not locked: ignored
  mesh->LockVertices();
  mesh->SetPosition(0, {0, 0});
  mesh->SetPosition(1, {4, 0});
  mesh->SetPosition(2, {4, 4});
  mesh->SetPosition(3, {0, 4});
  mesh->SetPosition(4, {9, 9});  // beyond the vertex count: ignored
  mesh->UnlockVertices();
  mesh->SetPosition(3, {0, 1});  // unlocked again: ignored
  // The first triangle names vertex 7 (none); the second is kept; the third is beyond the
  // index count.
  const uint16_t indices[] = {0, 1, 7, 0, 2, 3, 0, 1, 2};
  mesh->SetIndices(indices);
  MatrixTransform identity;
  mesh->Draw(identity, {255, 0, 0, 255}, identity);
  // The diagonal is a right edge: its centres stay out.
  EXPECT_EQ(Coverage(frame), "....\n#...\n##..\n###.\n");
  mesh->ReleaseBuffers();
  mesh->Draw(identity, {0, 255, 0, 255}, identity);
  EXPECT_EQ(frame.At(0, 3).g, 0);
}

TEST(SoftMeshTest, DamagedCountsDoNotAllocateBeyondWhatIndicesReach) {
  SoftFrame frame(2, 2);
  frame.Modes(DrawState::kBlendOpaque, DrawState::kNoMask, 255);
  auto mesh = frame.composed.CreateMesh(INT32_MAX, INT32_MAX);
  mesh->LockVertices();
  mesh->SetPosition(65535, {2, 0});  // the last vertex a 16-bit index names
  mesh->SetPosition(1, {2, 2});
  mesh->UnlockVertices();
  const uint16_t indices[] = {0, 65535, 1};
  mesh->SetIndices(indices);
  MatrixTransform identity;
  mesh->Draw(identity, {255, 0, 0, 255}, identity);
  EXPECT_EQ(frame.At(1, 0).r, 255);
  EXPECT_NE(frame.composed.CreateMesh(-5, -1), nullptr);
}

}  // namespace
}  // namespace cva::testing
