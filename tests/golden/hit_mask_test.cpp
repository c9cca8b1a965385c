// The pointer against an image with transparent pixels: in pixel-exact hit mode only the
// image's opaque pixels hit. The ring image is 20 x 12, so its texture is stretched to 32 x 16;
// the hits must come from the image's own pixels, not from the stretched texture.
#include <gtest/gtest.h>

#include "golden_rig.h"
#include "scene/scene.h"
#include "scene/scene_node.h"

namespace cva::testing {
namespace {

using render_tool::RenderOptions;
using render_tool::RenderSession;
using session::InputEvent;

// The hit state of the fixture's nodes 1 (pixel-exact) and 2 (rectangle) with the pointer at
// (x, y): the pointer moves before frame 1; the pointer pass of frame 2 tests it.
std::pair<int32_t, int32_t> HitStatesAt(float x, float y) {
  RenderOptions options;
  options.input = std::string(CVA_FIXTURE_DIR) + "/golden_hit.cva";
  InputEvent move;
  move.frame = 1;
  move.kind = InputEvent::Kind::kMove;
  move.x = x;
  move.y = y;
  options.input_events = {move};
  RenderSession session(options);
  if (!session.Load()) {
    ADD_FAILURE() << session.error();
    return {-1, -1};
  }
  session.Step();
  session.Step();
  const SceneNode* root = session.host().scene()->root();
  return {root->children().at(0)->hit_state, root->children().at(1)->hit_state};
}

// Stage point of the centre of image pixel (px, py) of a node at (left, top), four times.
float At(int32_t origin, int32_t pixel) {
  return static_cast<float>(origin) + (static_cast<float>(pixel) + 0.5f) * 4.0f;
}

TEST(HitMaskTest, PixelExactModeHitsOnlyOpaquePixelsOfTheImageItself) {
  // Opaque ring pixel near the right edge, at x = 18 of 20: the stretched texture has a
  // transparent texel there, the image does not.
  EXPECT_EQ(HitStatesAt(At(100, 18), At(60, 5)).first, 1);
  // Opaque ring pixel on the left.
  EXPECT_EQ(HitStatesAt(At(100, 2), At(60, 5)).first, 1);
  // Transparent hole between the ring and its centre dot, and a transparent corner.
  EXPECT_EQ(HitStatesAt(At(100, 13), At(60, 5)).first, 0);
  EXPECT_EQ(HitStatesAt(At(100, 5), At(60, 1)).first, 0);
  // Outside the image.
  EXPECT_EQ(HitStatesAt(At(100, 25), At(60, 5)).first, 0);
}

TEST(HitMaskTest, RectangleModeHitsTransparentPixelsToo) {
  EXPECT_EQ(HitStatesAt(At(100, 13), At(140, 5)).second, 1);
  EXPECT_EQ(HitStatesAt(At(100, 5), At(140, 1)).second, 1);
}

}  // namespace
}  // namespace cva::testing
