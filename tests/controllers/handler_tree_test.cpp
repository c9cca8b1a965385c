// Evaluation order of handler trees: conditions, children, else branches, disabled parts.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "controller_rig.h"
#include "scene/controller/external_values.h"

namespace cva::testing {
namespace {

using ::testing::ElementsAre;

// Condition 9 with code 9 (a == b): holds for equal operands.
ConditionEntry Equal(int32_t a, int32_t b, bool enabled = true) {
  return Cond(9, {Int(a), Int(b, 9)}, enabled);
}

TEST(HandlerTree, PassingConditionsRunChildrenInOrderAndNotTheElseBranch) {
  ControllerRig rig;
  EXPECT_EQ(rig.Run(Node({Equal(1, 1), Equal(2, 2)}, {Jump(10), Jump(11)}, Node({}, {Jump(20)}))),
            (std::vector<int32_t>{10, 11}));
}

TEST(HandlerTree, AFailingConditionRunsTheElseBranchInstead) {
  ControllerRig rig;
  EXPECT_EQ(rig.Run(Node({Equal(1, 1), Equal(1, 2)}, {Jump(10)}, Node({}, {Jump(20)}))),
            (std::vector<int32_t>{20}));
  // Without an else branch nothing runs.
  EXPECT_TRUE(rig.Run(Node({Equal(1, 2)}, {Jump(10)})).empty());
}

TEST(HandlerTree, TheFirstFailingConditionEndsTheTest) {
  ControllerRig rig;
  // Condition 9 reads its operands; a type-10 operand on a missing variable would not tell, so
  // watch an operand with side effects: the external provider counts its reads.
  struct Counting final : ExternalValueProvider {
    int reads = 0;
    int32_t Read(const EncodedText&, SceneNode&) override { return ++reads; }
    void Write(const EncodedText&, SceneNode&, int32_t) override {}
  } counting;
  SetExternalValueProvider(&counting);
  OperandRecord external;
  external.type = 5;
  rig.Run(Node({Equal(1, 2), Cond(9, {external, Int(0, 9)})}, {Jump(10)}));
  SetExternalValueProvider(nullptr);
  EXPECT_EQ(counting.reads, 0);
}

TEST(HandlerTree, DisabledConditionsNeitherPassNorFail) {
  ControllerRig rig;
  EXPECT_EQ(rig.Run(Node({Equal(1, 2, false)}, {Jump(10)}, Node({}, {Jump(20)}))),
            (std::vector<int32_t>{10}));
  EXPECT_EQ(rig.Run(Node({Equal(1, 2, false), Equal(3, 4)}, {Jump(10)}, Node({}, {Jump(20)}))),
            (std::vector<int32_t>{20}));
}

TEST(HandlerTree, DisabledActionsAreSkipped) {
  ControllerRig rig;
  EXPECT_EQ(rig.Run(Node({}, {Act(0, {Int(10)}, false), Jump(11)})), (std::vector<int32_t>{11}));
}

TEST(HandlerTree, NestedNodesAreEvaluatedInPlaceWithTheirOwnElseBranches) {
  ControllerRig rig;
  const HandlerNodeRecord inner_fails = Node({Equal(1, 2)}, {Jump(30)}, Node({}, {Jump(31)}));
  const HandlerNodeRecord inner_holds = Node({Equal(1, 1)}, {Jump(40)}, Node({}, {Jump(41)}));
  EXPECT_EQ(rig.Run(Node({}, {Jump(10), Nested(inner_fails), Jump(11), Nested(inner_holds)})),
            (std::vector<int32_t>{10, 31, 11, 40}));
}

TEST(HandlerTree, DisabledNestedNodesDoNotRunTheirElseBranch) {
  ControllerRig rig;
  HandlerNode tree(Node({}, {Nested(Node({}, {Jump(30)}, Node({}, {Jump(31)})))}), nullptr);
  auto& inner = *std::get<std::unique_ptr<HandlerNode>>(tree.children()[0]);
  EXPECT_EQ(inner.parent(), &tree);
  inner.enabled = false;
  ControllerContext context = rig.Context();
  tree.Evaluate(context);
  EXPECT_TRUE(rig.document.queued_labels().empty());
}

TEST(HandlerTree, ADisabledNodeRunsItsElseBranch) {
  ControllerRig rig;
  HandlerNode tree(Node({}, {Jump(10)}, Node({}, {Jump(20)})), nullptr);
  tree.enabled = false;
  ControllerContext context = rig.Context();
  tree.Evaluate(context);
  EXPECT_THAT(rig.document.queued_labels(), ElementsAre(20));
}

TEST(HandlerTree, UnknownConditionTypesHold) {
  ControllerRig rig;
  EXPECT_TRUE(rig.Holds(Cond(0)));
  EXPECT_TRUE(rig.Holds(Cond(15)));
  EXPECT_TRUE(rig.Holds(Cond(255)));
}

TEST(HandlerTree, MissingOperandsReadAsZero) {
  ControllerRig rig;
  // Condition 9 with no operands: a = b = 0, but no operator code, so it fails.
  EXPECT_FALSE(rig.Holds(Cond(9)));
  // Action 0 without an operand asks for label 0.
  EXPECT_EQ(rig.Run(Node({}, {Act(0)})), (std::vector<int32_t>{0}));
}

TEST(HandlerTree, TreesNestedBeyondTheLimitAreCutOff) {
  HandlerNodeRecord record = Node({}, {});
  for (int i = 0; i < HandlerNode::kMaxDepth + 10; ++i) record = Node({}, {Nested(record)});
  ControllerRig rig;
  HandlerNode tree(record, nullptr);
  int depth = 1;
  for (const HandlerNode* n = &tree; !n->children().empty(); ++depth)
    n = std::get<std::unique_ptr<HandlerNode>>(n->children()[0]).get();
  EXPECT_EQ(depth, HandlerNode::kMaxDepth);
  ControllerContext context = rig.Context();
  tree.Evaluate(context);  // bounded recursion
}

}  // namespace
}  // namespace cva::testing
