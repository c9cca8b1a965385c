// Documents played through the playback host over the recording provider: label jumps, the
// on-load jump, transforms with inheritance, colour, depth order, visibility, blend codes and
// mask groups as they reach the recorded draw stream.

#include <cmath>
#include <limits>
#include <numbers>

#include "playback_fixture.h"

namespace cva::testing {
namespace {

using ::testing::ElementsAre;

PositionValue At(float x, float y) {
  PositionValue value;
  value.position = {x, y};
  return value;
}

DrawCodesValue Codes(uint8_t blend, uint8_t mask, uint8_t visibility) {
  return {blend, mask, visibility};
}

TEST_F(PlaybackTest, SwitchSeeksThenRunsTheStartLabelAtTheNextTick) {
  NodeRecord root = Node(0, {Hold<2>(At(5, 6))});
  Load(MakeDocument(root));
  // Seek ran before the queued start label: nothing moved yet.
  EXPECT_TRUE(label_log.labels.empty());
  EXPECT_EQ(host.scene()->current_label(), -1);

  TickAndDraw(0.0f);
  EXPECT_THAT(label_log.labels, ElementsAre(0));
  EXPECT_THAT(label_log.names, ElementsAre(std::string("start")));
  EXPECT_EQ(host.scene()->current_label(), 0);
  const Vec2 origin = Apply(DrawOfNode(0).world, {0, 0});
  EXPECT_FLOAT_EQ(origin.x, 5.0f);
  EXPECT_FLOAT_EQ(origin.y, 6.0f);
}

TEST_F(PlaybackTest, MissingStartLabelRequestsNoJump) {
  Load(MakeDocument(Node(0)), "absent");
  TickAndDraw(10.0f);
  EXPECT_TRUE(label_log.labels.empty());
  EXPECT_EQ(host.scene()->current_label(), -1);
}

TEST_F(PlaybackTest, RepeatedRequestsForOneLabelRunOnceInRequestOrder) {
  DocumentFile file = MakeDocument(Node(0));
  AddLabelName(file, 3, "three");
  AddLabelName(file, 4, "four");
  Load(file);
  TickAndDraw(0.0f);
  label_log.labels.clear();

  Scene& scene = *host.scene();
  scene.RequestLabel(4);
  scene.RequestLabel(3);
  scene.RequestLabel(4);
  scene.RequestLabel(-1);
  TickAndDraw(0.0f);
  EXPECT_THAT(label_log.labels, ElementsAre(4, 3));
  EXPECT_EQ(scene.current_label(), 3);
  // The queue is empty afterwards.
  TickAndDraw(0.0f);
  EXPECT_THAT(label_log.labels, ElementsAre(4, 3));
}

TEST_F(PlaybackTest, LabelJumpRestartsOnlyTheNodesThatPlaySomethingThere) {
  NodeRecord child = Node(1, {Hold<2>(At(1, 1))});
  child.labels.items.push_back(Label(7, {Hold<2>(At(70, 0))}));
  NodeRecord other = Node(2, {Hold<2>(At(2, 2))});
  DocumentFile file = MakeDocument(Node(0, {}, {child, other}));
  AddLabelName(file, 7, "seven");
  Load(file);
  TickAndDraw(0.0f);
  host.scene()->RequestLabel(7);
  TickAndDraw(0.0f);
  EXPECT_FLOAT_EQ(Apply(DrawOfNode(1).world, {0, 0}).x, 70.0f);
  EXPECT_FLOAT_EQ(Apply(DrawOfNode(2).world, {0, 0}).x, 2.0f);
}

// The root's on-load jump requests label-if-loaded or label-otherwise once its keyframe is
// reached, depending on the resources it names.
OnLoadJumpValue OnLoad(int16_t loaded, int16_t otherwise, bool check_all,
                       std::vector<int16_t> ids) {
  OnLoadJumpValue value;
  value.label_loaded = loaded;
  value.label_otherwise = otherwise;
  value.check_all = check_all;
  for (int16_t id : ids) value.resources.items.push_back({id});
  value.resources.stored_count = static_cast<int16_t>(ids.size());
  return value;
}

DocumentFile OnLoadDocument(const OnLoadJumpValue& jump) {
  DocumentFile file = MakeDocument(Node(0, {Hold<8>(jump)}));
  AddLabelName(file, 1, "loaded");
  AddLabelName(file, 2, "otherwise");
  return file;
}

TEST_F(PlaybackTest, OnLoadJumpWithAMissingResourceTakesTheOtherLabel) {
  Load(OnLoadDocument(OnLoad(1, 2, false, {5})));
  TickAndDraw(0.0f);  // label 0: the on-load keyframe is reached and requests its label
  TickAndDraw(0.0f);
  EXPECT_THAT(label_log.labels, ElementsAre(0, 2));
  // Jumping stopped the on-load track, so it requests nothing more.
  TickAndDraw(10.0f);
  EXPECT_THAT(label_log.labels, ElementsAre(0, 2));
}

TEST_F(PlaybackTest, OnLoadJumpWithEveryResourceDoneTakesTheLoadedLabel) {
  DocumentFile file = OnLoadDocument(OnLoad(1, 2, false, {5}));
  ResourceRecord image;
  image.id = 5;
  image.kind = 0;
  image.name = Stored("pic.png");
  file.resources.items.push_back(image);
  services.files["pic.png"] = {1, 2, 3};
  Load(file);
  for (int i = 0; i < 3; ++i) TickAndDraw(0.0f);
  EXPECT_THAT(label_log.labels, ElementsAre(0, 1));
}

TEST_F(PlaybackTest, OnLoadJumpCheckingAllNestedDocumentsWithNoneIsLoaded) {
  Load(OnLoadDocument(OnLoad(1, 2, true, {})));
  TickAndDraw(0.0f);
  TickAndDraw(0.0f);
  EXPECT_THAT(label_log.labels, ElementsAre(0, 1));
}

TEST_F(PlaybackTest, OnLoadJumpToNoLabelRequestsNothing) {
  Load(OnLoadDocument(OnLoad(-1, -1, false, {9})));
  TickAndDraw(0.0f);
  TickAndDraw(0.0f);
  EXPECT_THAT(label_log.labels, ElementsAre(0));
}

// Parent at (100, 50) scaled by 2; the child sits at (10, 0) in the parent's units.
NodeRecord ScaledParent(uint8_t child_position_inheritance) {
  ScaleValue twice;
  twice.scale = {2.0f, 2.0f};
  NodeRecord child = Node(2, {Hold<2>(At(10, 0), child_position_inheritance)});
  return Node(1, {Hold<2>(At(100, 50)), Hold<4>(twice)}, {child});
}

TEST_F(PlaybackTest, ChildFollowsTheWholeParentTransformByDefault) {
  Load(MakeDocument(Node(0, {}, {ScaledParent(0)})));
  TickAndDraw(0.0f);
  const Vec2 p = Apply(DrawOfNode(2).world, {1, 1});
  EXPECT_FLOAT_EQ(p.x, (10 + 1) * 2 + 100);
  EXPECT_FLOAT_EQ(p.y, 1 * 2 + 50);
}

TEST_F(PlaybackTest, ChildWithoutPositionInheritanceKeepsItsPlaceButFollowsTheScale) {
  Load(MakeDocument(Node(0, {}, {ScaledParent(/*switch inheritance off*/ 2)})));
  TickAndDraw(0.0f);
  const Vec2 p = Apply(DrawOfNode(2).world, {1, 1});
  EXPECT_FLOAT_EQ(p.x, (10 + 1) * 2);
  EXPECT_FLOAT_EQ(p.y, 1 * 2);

  // Moving the parent does not move the child.
  SceneNode* parent = FindNode(1);
  FieldsOf<2>(parent->display().holder(2))->position = {500, 500};
  TickAndDraw(0.0f);
  EXPECT_FLOAT_EQ(Apply(DrawOfNode(2).world, {1, 1}).x, 22.0f);
}

TEST_F(PlaybackTest, LocalMatrixScalesAndRotatesAboutThePivot) {
  AngleValue quarter;
  quarter.angle = std::numbers::pi_v<float> / 2;
  ScaleValue twice;
  twice.scale = {2.0f, 2.0f};
  PivotValue pivot;
  pivot.pivot = {10.0f, 0.0f};
  Load(MakeDocument(
      Node(0, {},
           {Node(1, {Hold<2>(At(100, 100)), Hold<3>(quarter), Hold<4>(twice), Hold<5>(pivot)})})));
  TickAndDraw(0.0f);
  const Matrix4& world = DrawOfNode(1).world;
  const Vec2 at_pivot = Apply(world, {10, 0});
  EXPECT_NEAR(at_pivot.x, 110.0f, 1e-4);
  EXPECT_NEAR(at_pivot.y, 100.0f, 1e-4);
  // One unit along x from the pivot: doubled, then turned a quarter towards +y.
  const Vec2 beside = Apply(world, {11, 0});
  EXPECT_NEAR(beside.x, 110.0f, 1e-4);
  EXPECT_NEAR(beside.y, 102.0f, 1e-4);
}

TEST_F(PlaybackTest, NodeFacingAlongItsPathTurnsToItsMoveAndToAngleZeroWhenStill) {
  AngleValue facing;
  facing.direction_mode = 3;
  // Reaches (30, 40) at once, then holds it while the segment to the next keyframe runs.
  MotionEntry path = Hold<2>(At(30, 40));
  path.motion.keyframes.items.push_back(Key<2>(100, At(30, 40)));
  Load(MakeDocument(Node(0, {}, {Node(1, {path, Hold<3>(facing)})})));
  TickAndDraw(0.0f);  // moved from (0, 0): faces (0.6, 0.8)
  Vec2 unit = Apply(DrawOfNode(1).world, {1, 0});
  EXPECT_NEAR(unit.x, 30.6f, 1e-4);
  EXPECT_NEAR(unit.y, 40.8f, 1e-4);
  TickAndDraw(10.0f);  // still: atan2(0, 0) = 0
  unit = Apply(DrawOfNode(1).world, {1, 0});
  EXPECT_NEAR(unit.x, 31.0f, 1e-4);
  EXPECT_NEAR(unit.y, 40.0f, 1e-4);
}

TEST_F(PlaybackTest, ColourModulatesWithTheParentsUnlessInheritanceIsOff) {
  ColourValue orange;
  orange.colour = {255, 128, 0, 255};
  ColourValue cyan;
  cyan.colour = {128, 255, 255, 200};
  NodeRecord inheriting = Node(2, {Hold<7>(cyan)});
  NodeRecord own = Node(3, {Hold<7>(cyan, /*switch inheritance off*/ 2)});
  Load(MakeDocument(Node(0, {}, {Node(1, {Hold<7>(orange)}, {inheriting, own})})));
  TickAndDraw(0.0f);
  EXPECT_EQ(DrawOfNode(1).colour, (Colour{255, 128, 0, 255}));
  EXPECT_EQ(DrawOfNode(2).colour, (Colour{128, 128, 0, 200}));
  EXPECT_EQ(DrawOfNode(3).colour, (Colour{128, 255, 255, 200}));
}

TEST_F(PlaybackTest, DrawOrderFollowsDepthWithTreeOrderWithinOneDepth) {
  // 1 (depth 10) has children 2 (depth 5) and 3 (depth 0: takes 10); 4 (depth 20) follows.
  NodeRecord node1 =
      Node(1, {Hold<0>(DepthValue{10})}, {Node(2, {Hold<0>(DepthValue{5})}), Node(3)});
  Load(MakeDocument(Node(0, {}, {node1, Node(4, {Hold<0>(DepthValue{20})})})));
  TickAndDraw(0.0f);
  // The root keeps depth 0 and draws first.
  EXPECT_THAT(DrawnNodes(), ElementsAre(0, 2, 1, 3, 4));
  EXPECT_EQ(host.scene()->DrawOrder().size(), 5u);
  // Hit testing follows the nodes' links, forwards and backwards: they agree with the order
  // drawn, frame after frame.
  for (int frame = 0; frame < 2; ++frame) {
    const std::vector<SceneNode*> order = host.scene()->DrawOrder();
    std::vector<int> forwards;
    std::vector<int> backwards;
    for (SceneNode* node = host.scene()->draw_first(); node; node = node->draw_next)
      forwards.push_back(node->id());
    for (SceneNode* node = host.scene()->draw_last(); node; node = node->draw_prev)
      backwards.insert(backwards.begin(), node->id());
    EXPECT_THAT(forwards, ElementsAre(0, 2, 1, 3, 4));
    EXPECT_EQ(backwards, forwards);
    ASSERT_EQ(order.size(), 5u);
    EXPECT_EQ(order.front(), host.scene()->draw_first());
    EXPECT_EQ(order.back(), host.scene()->draw_last());
    TickAndDraw(10.0f);
  }
}

TEST_F(PlaybackTest, InvisibleNodeLetsItsChildrenDrawAndInactiveNodeHidesItsSubtree) {
  // Node 2 has a visibility of its own; node 6 keeps 3 and so takes its parent's.
  NodeRecord invisible = Node(1, {Hold<1>(Codes(0, 0, 2))}, {Node(2, {Hold<1>(Codes(0, 0, 1))})});
  NodeRecord inactive = Node(3, {}, {Node(4)});
  inactive.inactive = true;
  NodeRecord parent_visibility = Node(5, {Hold<1>(Codes(0, 0, 2))}, {Node(6)});
  Load(MakeDocument(Node(0, {}, {invisible, inactive, parent_visibility})));
  TickAndDraw(0.0f);
  EXPECT_THAT(DrawnNodes(), ElementsAre(0, 2));
  EXPECT_TRUE(FindNode(3)->hidden);
  EXPECT_TRUE(FindNode(4)->hidden);
}

TEST_F(PlaybackTest, SuspendedAndFrozenNodesSkipTheirUpdates) {
  NodeRecord frozen = Node(1, {Hold<2>(At(1, 0))}, {Node(2, {Hold<2>(At(2, 0))})});
  NodeRecord suspended = Node(3, {Hold<2>(At(3, 0))}, {Node(4, {Hold<2>(At(4, 0))})});
  Load(MakeDocument(Node(0, {}, {frozen, suspended})));
  FindNode(1)->frozen = true;
  FindNode(3)->suspended = true;
  TickAndDraw(0.0f);
  // The instances came after the seek: these are the updates of one tick.
  auto updates = [&](int id) {
    return static_cast<QuadInstance*>(FindNode(id)->instance())->updates;
  };
  EXPECT_EQ(updates(0), 1);
  EXPECT_EQ(updates(1), 0);
  EXPECT_EQ(updates(2), 1);
  EXPECT_EQ(updates(3), 0);
  EXPECT_EQ(updates(4), 0);
  EXPECT_FLOAT_EQ(Apply(DrawOfNode(2).world, {0, 0}).x, 2.0f);
}

using State = std::pair<RenderState, uint32_t>;

bool Sets(const DrawRecord& record, RenderState state, uint32_t value) {
  for (const State& s : record.states) {
    if (s.first == state && s.second == value) return true;
  }
  return false;
}

TEST_F(PlaybackTest, MaskGroupsAndBlendCodesSwitchTheDrawStateOnlyWhenTheyChange) {
  MaskThresholdValue threshold{128};
  NodeRecord writes = Node(1, {Hold<1>(Codes(0, 2, 0)), Hold<6>(threshold)});
  NodeRecord inside = Node(2, {Hold<1>(Codes(0, 3, 0))});
  NodeRecord same = Node(3, {Hold<1>(Codes(0, 3, 0))});
  NodeRecord closes = Node(4, {Hold<1>(Codes(2, 4, 0))});
  Load(MakeDocument(Node(0, {}, {writes, inside, same, closes})));
  TickAndDraw(0.0f);

  using K = DrawRecord::Kind;
  std::vector<K> kinds;
  for (const DrawRecord& r : graphics.records()) kinds.push_back(r.kind);
  EXPECT_THAT(kinds, ElementsAre(K::kApplyState,                 // frame start
                                 K::kSolidQuad,                  // root, normal
                                 K::kApplyState, K::kBeginMask,  // 1 writes the mask
                                 K::kSolidQuad,                  //
                                 K::kApplyState, K::kSolidQuad,  // 2 inside
                                 K::kSolidQuad,                  // 3 inside, no change
                                 K::kApplyState, K::kSolidQuad,  // 4 additive inside
                                 K::kEndMask,                    // 4 closes the group
                                 K::kEndMask));                  // frame end

  const std::vector<DrawRecord>& r = graphics.records();
  EXPECT_TRUE(Sets(r[0], RenderState::kZEnable, 0));
  EXPECT_TRUE(
      Sets(r[0], RenderState::kDestBlend, static_cast<uint32_t>(BlendFactor::kInvSrcAlpha)));
  EXPECT_TRUE(Sets(r[2], RenderState::kAlphaRef, 255 - 128));
  EXPECT_TRUE(Sets(r[2], RenderState::kZWriteEnable, 1));
  EXPECT_EQ(r[3].extent, (Vec2{16.0f, 8.0f}));
  EXPECT_TRUE(Sets(r[5], RenderState::kZFunc, static_cast<uint32_t>(CompareFunc::kGreaterEqual)));
  EXPECT_TRUE(Sets(r[8], RenderState::kDestBlend, static_cast<uint32_t>(BlendFactor::kOne)));
  EXPECT_EQ(draw_state.MaskThreshold(), 128);
}

// Drawing uses the draw codes a node had when the frame's update collected it; a change made
// between the update and the draw (rules run before the update) shows from the next frame.
TEST_F(PlaybackTest, DrawCodesAreThoseOfTheLastUpdate) {
  Load(MakeDocument(Node(0, {}, {Node(1)})));
  TickAndDraw(0.0f);
  auto additive = [&] {
    for (const DrawRecord& r : graphics.records())
      if (Sets(r, RenderState::kDestBlend, static_cast<uint32_t>(BlendFactor::kOne))) return true;
    return false;
  };
  EXPECT_FALSE(additive());
  FindNode(1)->display().fields<1>()->blend = 2;
  graphics.Clear();
  host.Draw();
  EXPECT_FALSE(additive());
  TickAndDraw(0.0f);
  EXPECT_TRUE(additive());
}

TEST_F(PlaybackTest, MaskOutlineFollowsAMirroredRepeat) {
  NodeRecord writes = Node(1, {Hold<1>(Codes(0, 2, 0)), Hold<2>(At(100, 0))});
  Load(MakeDocument(Node(0, {}, {writes})));
  SceneNode* node = FindNode(1);
  node->display().AddProperty(12);
  FieldsOf<12>(node->display().holder(12))->count_x = -1;
  TickAndDraw(0.0f);
  for (const DrawRecord& r : graphics.records()) {
    if (r.kind != DrawRecord::Kind::kBeginMask) continue;
    // Extent 16 wide, mirrored once: its corners stay where they were, flipped.
    EXPECT_FLOAT_EQ(Apply(r.world, {0, 0}).x, 116.0f);
    EXPECT_FLOAT_EQ(Apply(r.world, {16, 0}).x, 100.0f);
    return;
  }
  ADD_FAILURE() << "no mask group was opened";
}

TEST_F(PlaybackTest, NothingIsDrawnWithoutADrawState) {
  Load(MakeDocument(Node(0)));
  host.set_draw_state(nullptr);
  TickAndDraw(0.0f);
  EXPECT_TRUE(graphics.records().empty());
}

TEST(SceneClock, FrameNumberIsTheTruncatedQuotient) {
  EXPECT_EQ(Scene::FrameAt(50.0f, 33.3f), 1);
  EXPECT_EQ(Scene::FrameAt(99.8f, 33.3f), 2);
  EXPECT_EQ(Scene::FrameAt(0.0f, 10.0f), 0);
}

TEST(SceneClock, UnusableFrameDurationsGiveFrameZero) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  EXPECT_EQ(Scene::FrameAt(50.0f, 0.0f), 0);
  EXPECT_EQ(Scene::FrameAt(50.0f, -10.0f), 0);
  EXPECT_EQ(Scene::FrameAt(50.0f, nan), 0);
  EXPECT_EQ(Scene::FrameAt(nan, 10.0f), 0);
  EXPECT_EQ(Scene::FrameAt(inf, 10.0f), 0);
  EXPECT_EQ(Scene::FrameAt(3.0e38f, 1.0e-3f), std::numeric_limits<int32_t>::max());
}

TEST_F(PlaybackTest, UnusableStepsLeaveTheClockWhereItWas) {
  Load(MakeDocument(Node(0)));
  TickAndDraw(25.0f);
  for (float dt :
       {-10.0f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
    TickAndDraw(dt);
  }
  TickAndDraw(10.0f);
  EXPECT_FLOAT_EQ(host.scene()->time(), 35.0f);
  EXPECT_EQ(host.scene()->frame(), 3);
}

TEST_F(PlaybackTest, SeekReplaysTheWholeFramesPlayedSoFar) {
  // Moves linearly from (0, 0) to (100, 0) over 10 frames of 10 ms.
  MotionEntry move = Hold<2>(At(0, 0));
  KeyframeRecord end = Key<2>(10, At(100, 0));
  EasePointRecord from;
  EasePointRecord to;
  to.x = 1.0f;
  to.y = 1.0f;
  to.curve = 1;  // linear
  end.ease = {from, to};
  move.motion.keyframes.items.push_back(end);
  Load(MakeDocument(Node(0, {move})));
  TickAndDraw(0.0f);
  TickAndDraw(35.0f);
  EXPECT_EQ(host.scene()->frame(), 3);
  const float played = Apply(DrawOfNode(0).world, {0, 0}).x;
  EXPECT_NEAR(played, 35.0f, 1e-3);

  // Seeking restarts the tracks and replays 3 whole frames (30 ms) of the motion: its first
  // keyframe puts the node back at 0, then 30 % of the way to 100.
  host.scene()->Seek(host.base_transform());
  graphics.Clear();
  host.Draw();
  EXPECT_FLOAT_EQ(host.scene()->time(), 35.0f);
  EXPECT_NEAR(Apply(DrawOfNode(0).world, {0, 0}).x, 30.0f, 1e-3);
  EXPECT_EQ(static_cast<QuadInstance*>(FindNode(0)->instance())->resets, 1);

  host.scene()->RestartClock();
  EXPECT_EQ(host.scene()->time(), 0.0f);
  EXPECT_EQ(host.scene()->frame(), 0);
}

class BrokenClockTest : public PlaybackTest, public ::testing::WithParamInterface<float> {};

TEST_P(BrokenClockTest, LoopingDocumentKeepsPlayingWithoutAUsableFrameDuration) {
  // A motion that loops for ever over keyframes of length 0.
  MotionEntry loop;
  loop.key = 2;
  loop.motion.property = 2;
  KeyframeRecord start = Key<2>(0, At(1, 0));
  start.jump = 1;
  KeyframeRecord end = Key<2>(1, At(2, 0));
  end.jump = 2;
  end.loop_count = -1;
  loop.motion.keyframes.items = {start, end};
  DocumentFile file = MakeDocument(Node(0, {}, {Node(1, {loop})}));
  file.header.frame_duration = GetParam();
  Load(file);
  for (int i = 0; i < 3; ++i) TickAndDraw(16.0f);
  EXPECT_EQ(host.scene()->frame(), 0);
  EXPECT_FLOAT_EQ(host.scene()->time(), 48.0f);
  EXPECT_EQ(host.scene()->frame_length(), 0.0f);
  EXPECT_THAT(DrawnNodes(), ElementsAre(0, 1));
}

INSTANTIATE_TEST_SUITE_P(Durations, BrokenClockTest,
                         ::testing::Values(0.0f, -5.0f, std::numeric_limits<float>::quiet_NaN()));

}  // namespace
}  // namespace cva::testing
