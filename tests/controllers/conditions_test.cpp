// Conditions 1 to 14.
#include <gtest/gtest.h>

#include "controller_rig.h"
#include "document/variable_table.h"
#include "scene/controller/process_variables.h"
#include "scene/hit/hit_test.h"

namespace cva::testing {
namespace {

constexpr uint8_t kScopeDocument = 0, kScopeOwn = 1;

void Hide(SceneNode& node) {
  node.display().visibility = DisplayNode::kNotDrawn;
}

TEST(Conditions, PointerStatesOfVisibleNodes) {
  ControllerRig rig;
  SceneNode& n = *rig.node;
  const int32_t states[] = {kNotHit, kHitTopmost, kHitCovered};
  const bool on_top[] = {false, true, false}, over[] = {false, true, true},
             away[] = {true, false, false};
  for (int i = 0; i < 3; ++i) {
    n.hit_state = states[i];
    EXPECT_EQ(rig.Holds(Cond(1)), on_top[i]) << "state " << states[i];
    EXPECT_EQ(rig.Holds(Cond(2)), over[i]) << "state " << states[i];
    EXPECT_EQ(rig.Holds(Cond(3)), away[i]) << "state " << states[i];
  }
  // Invisible nodes satisfy none of them.
  Hide(n);
  for (int32_t state : states) {
    n.hit_state = state;
    EXPECT_FALSE(rig.Holds(Cond(1)) || rig.Holds(Cond(2)) || rig.Holds(Cond(3)));
  }
}

TEST(Conditions, OutlinesOverlapWithANodeFoundById) {
  ControllerRig rig;
  SceneNode& other = rig.root.AddChild(std::make_unique<SceneNode>(7, rig.provider));
  SceneNode& far = rig.node->AddChild(std::make_unique<SceneNode>(8, rig.provider));
  rig.Place(*rig.node, {0, 0}, {10, 10});
  rig.Place(other, {10, 10}, {5, 5});  // shares the corner (10, 10)
  rig.Place(far, {30, 0}, {5, 5});
  EXPECT_TRUE(rig.Holds(Cond(4, {Int(7)})));
  EXPECT_FALSE(rig.Holds(Cond(4, {Int(8)})));
  EXPECT_FALSE(rig.Holds(Cond(4, {Int(99)})));  // no such node
  // The node itself overlaps itself.
  EXPECT_TRUE(rig.Holds(Cond(4, {Int(1)})));
  Hide(other);
  EXPECT_FALSE(rig.Holds(Cond(4, {Int(7)})));
  other.display().visibility = 1;
  Hide(*rig.node);
  EXPECT_FALSE(rig.Holds(Cond(4, {Int(7)})));
}

TEST(Conditions, NodesWithoutAnInstanceHaveNoOutline) {
  ControllerRig rig;
  rig.root.AddChild(std::make_unique<SceneNode>(7, rig.provider));
  rig.Place(*rig.node, {0, 0}, {10, 10});
  EXPECT_FALSE(rig.Holds(Cond(4, {Int(7)})));
}

TEST(Conditions, PointInsideOrOutsideTheNode) {
  ControllerRig rig;
  rig.Place(*rig.node, {10, 20}, {30, 40});
  EXPECT_TRUE(rig.Holds(Cond(5, {Int(10), Int(20)})));  // corner, bounds included
  EXPECT_TRUE(rig.Holds(Cond(5, {Int(40), Int(60)})));
  EXPECT_FALSE(rig.Holds(Cond(5, {Int(41), Int(60)})));
  EXPECT_FALSE(rig.Holds(Cond(6, {Int(25), Int(30)})));
  EXPECT_TRUE(rig.Holds(Cond(6, {Int(9), Int(30)})));
  // An invisible node fails both, even for a point outside it.
  Hide(*rig.node);
  EXPECT_FALSE(rig.Holds(Cond(5, {Int(25), Int(30)})));
  EXPECT_FALSE(rig.Holds(Cond(6, {Int(0), Int(0)})));
}

TEST(Conditions, MaskBitsOfAVariable) {
  ControllerRig rig;
  rig.document.variables().Add(3, Variable::Plain(0b1011));
  rig.own_variables.Add(3, Variable::Plain(0b0100));
  const auto bits = [](uint8_t scope, int16_t id, int32_t mask) {
    return VariableOperand(11, scope, id, mask);
  };
  EXPECT_TRUE(rig.Holds(Cond(7, {bits(kScopeDocument, 3, 0b0011)})));
  EXPECT_FALSE(rig.Holds(Cond(7, {bits(kScopeDocument, 3, 0b0110)})));
  EXPECT_FALSE(rig.Holds(Cond(8, {bits(kScopeDocument, 3, 0b0011)})));
  EXPECT_TRUE(rig.Holds(Cond(8, {bits(kScopeDocument, 3, 0b0110)})));
  // The scope picks the table.
  EXPECT_TRUE(rig.Holds(Cond(7, {bits(kScopeOwn, 3, 0b0100)})));
  // An empty reference fails both, as does an unknown scope.
  EXPECT_FALSE(rig.Holds(Cond(7, {bits(kScopeDocument, 4, 0)})));
  EXPECT_FALSE(rig.Holds(Cond(8, {bits(kScopeDocument, 4, 0)})));
  EXPECT_FALSE(rig.Holds(Cond(7, {bits(9, 3, 0)})));
  EXPECT_FALSE(rig.Holds(Cond(8, {bits(9, 3, 0)})));
  // A first operand that is not a variable is an empty reference too.
  EXPECT_FALSE(rig.Holds(Cond(7, {Int(0b1011)})));
  EXPECT_FALSE(rig.Holds(Cond(8, {Int(0b1011)})));
}

TEST(Conditions, ComparisonsByTheSecondOperandsCode) {
  ControllerRig rig;
  const auto holds = [&](int32_t a, uint8_t code, int32_t b) {
    return rig.Holds(Cond(9, {Int(a), Int(b, code)}));
  };
  struct Case {
    uint8_t code;
    bool less, equal, greater;  // a < b, a == b, a > b
  };
  const Case cases[] = {{7, false, false, true}, {8, true, false, false}, {9, false, true, false},
                        {10, true, false, true}, {11, false, true, true}, {12, true, true, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(holds(1, c.code, 2), c.less) << "code " << int{c.code};
    EXPECT_EQ(holds(2, c.code, 2), c.equal) << "code " << int{c.code};
    EXPECT_EQ(holds(3, c.code, 2), c.greater) << "code " << int{c.code};
  }
  for (uint8_t code : {0, 1, 6, 13, 255}) {
    EXPECT_FALSE(holds(1, code, 1));
    EXPECT_FALSE(holds(1, code, 2));
  }
  // The code of the first operand does not count.
  EXPECT_FALSE(rig.Holds(Cond(9, {Int(1, 9), Int(1)})));
}

TEST(Conditions, ButtonsHeldAndPressed) {
  ControllerRig rig;
  rig.input.buttons = kLeftButton | kAnyKey;
  rig.input.pressed = kAnyKey;
  EXPECT_TRUE(rig.Holds(Cond(10, {Int(kLeftButton)})));
  EXPECT_TRUE(rig.Holds(Cond(10, {Int(kLeftButton | kRightButton)})));
  EXPECT_FALSE(rig.Holds(Cond(10, {Int(kRightButton)})));
  EXPECT_TRUE(rig.Holds(Cond(11, {Int(kAnyKey)})));
  EXPECT_FALSE(rig.Holds(Cond(11, {Int(kLeftButton)})));
  EXPECT_FALSE(rig.Holds(Cond(12, {Int(kLeftButton)})));
  EXPECT_TRUE(rig.Holds(Cond(12, {Int(kRightButton)})));
}

TEST(Conditions, LabelAlreadyQueued) {
  ControllerRig rig;
  rig.document.RequestLabel(5);
  HandlerNode tree(Node({Cond(13, {Int(5)})}, {Act(0, {Int(6)})}), nullptr);
  ControllerContext context = rig.Context();
  tree.Evaluate(context);
  EXPECT_EQ(rig.document.queued_labels(), (std::vector<int32_t>{5, 6}));
  rig.document.TakeQueuedLabels();
  EXPECT_FALSE(rig.Holds(Cond(13, {Int(5)})));
}

TEST(Conditions, PointerMoved) {
  ControllerRig rig;
  EXPECT_FALSE(rig.Holds(Cond(14)));
  rig.input.moved = true;
  EXPECT_TRUE(rig.Holds(Cond(14)));
}

}  // namespace
}  // namespace cva::testing
