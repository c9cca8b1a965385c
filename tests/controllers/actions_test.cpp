// Actions 0 to 12, with the arithmetic faults that must not trap.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>

#include "controller_rig.h"
#include "document/variable_table.h"

namespace cva::testing {
namespace {

using ::testing::ElementsAre;

constexpr uint8_t kScopeDocument = 0;

TEST(Actions, RequestLabelQueuesEachLabelOnce) {
  ControllerRig rig;
  EXPECT_EQ(rig.Run(Node({}, {Jump(4), Jump(4), Jump(-1), Jump(5)})), (std::vector<int32_t>{4, 5}));
}

TEST(Actions, FreezeAndResume) {
  ControllerRig rig;
  SceneNode& n = *rig.node;
  rig.Run(Node({}, {Act(1)}));
  EXPECT_TRUE(n.frozen);
  n.suspended = true;
  rig.Run(Node({}, {Act(2)}));
  EXPECT_FALSE(n.frozen);
  EXPECT_FALSE(n.suspended);
}

TEST(Actions, BitOperationsOnTheFirstOperandsVariable) {
  ControllerRig rig;
  rig.document.variables().Add(1, Variable::Plain(0b1010));
  const OperandRecord bits = VariableOperand(11, kScopeDocument, 1, 0b0110);
  rig.Run(Node({}, {Act(7, {bits})}));
  EXPECT_EQ(rig.document.variables().Find(1)->value(), 0b1110);
  rig.Run(Node({}, {Act(8, {bits})}));
  EXPECT_EQ(rig.document.variables().Find(1)->value(), 0b1000);
  rig.Run(Node({}, {Act(9, {bits})}));
  EXPECT_EQ(rig.document.variables().Find(1)->value(), 0);
  // Empty references and missing operands do nothing.
  rig.Run(Node({}, {Act(7, {VariableOperand(11, kScopeDocument, 2, 1)}), Act(7), Act(9)}));
  EXPECT_EQ(rig.document.variables().Find(1)->value(), 0);
  EXPECT_EQ(rig.document.variables().Find(2), nullptr);
}

TEST(Actions, BitOperationsOnARangedVariableStoreTheBitsAsTheyAre) {
  ControllerRig rig;
  rig.document.variables().Add(1, Variable::Ranged({0, 3, true, true, false}, 2));
  rig.Run(Node({}, {Act(7, {VariableOperand(11, kScopeDocument, 1, 0b1000)})}));
  EXPECT_EQ(rig.document.variables().Find(1)->value(), 0b1010);
}

TEST(Actions, ArithmeticWritesTheResultToTheFirstOperand) {
  ControllerRig rig;
  rig.document.variables().Add(1, Variable::Plain(0));
  const OperandRecord target = VariableOperand(10, kScopeDocument, 1);
  const auto apply = [&](uint8_t code, int32_t operand) {
    rig.Run(Node({}, {Act(10, {target, Int(operand, code)})}));
    return rig.document.variables().Find(1)->value();
  };
  EXPECT_EQ(apply(3, 17), 17);  // assign
  EXPECT_EQ(apply(1, 5), 22);   // add
  EXPECT_EQ(apply(2, 30), -8);  // subtract
  EXPECT_EQ(apply(4, -3), 24);  // multiply
  EXPECT_EQ(apply(5, 5), 4);    // divide, truncating
  EXPECT_EQ(apply(3, -7), -7);
  EXPECT_EQ(apply(5, 2), -3);   // toward zero
  EXPECT_EQ(apply(6, 4), -3);   // remainder takes the sign of the dividend
  EXPECT_EQ(apply(0, 99), -3);  // unknown codes do nothing
  EXPECT_EQ(apply(7, 99), -3);
}

TEST(Actions, ArithmeticFaultsLeaveDefinedValues) {
  ControllerRig rig;
  rig.document.variables().Add(1, Variable::Plain(0));
  const OperandRecord target = VariableOperand(10, kScopeDocument, 1);
  const auto apply = [&](int32_t start, uint8_t code, int32_t operand) {
    rig.document.variables().Find(1)->SetStored(start);
    rig.Run(Node({}, {Act(10, {target, Int(operand, code)})}));
    return rig.document.variables().Find(1)->value();
  };
  // Division and remainder by zero leave the value as it was.
  EXPECT_EQ(apply(42, 5, 0), 42);
  EXPECT_EQ(apply(42, 6, 0), 42);
  // The most negative number divided by -1 wraps to itself; its remainder is 0.
  EXPECT_EQ(apply(INT_MIN, 5, -1), INT_MIN);
  EXPECT_EQ(apply(INT_MIN, 6, -1), 0);
  // Sums and products wrap around.
  EXPECT_EQ(apply(INT_MAX, 1, 1), INT_MIN);
  EXPECT_EQ(apply(INT_MIN, 2, 1), INT_MAX);
  EXPECT_EQ(apply(INT_MIN, 4, -1), INT_MIN);
  EXPECT_EQ(apply(0x10000, 4, 0x10000), 0);
}

TEST(Actions, ArithmeticByZeroDoesNotReapplyARange) {
  ControllerRig rig;
  // A ranged variable written through its rule (operand type 12); its value was stored
  // above the maximum directly, and a division by zero must not write it (and so clamp it).
  rig.document.variables().Add(1, Variable::Ranged({0, 10, true, true, false}, 5));
  rig.document.variables().Find(1)->SetStored(50);
  rig.Run(Node({}, {Act(10, {VariableOperand(12, kScopeDocument, 1), Int(0, 5)})}));
  EXPECT_EQ(rig.document.variables().Find(1)->value(), 50);
}

TEST(Actions, DebugPrintOfTheFirstOperandsText) {
  ControllerRig rig;
  rig.Run(Node({}, {Act(11, {TextOperand("hello")}), Act(11)}));
  EXPECT_THAT(rig.provider.debug_texts(), ElementsAre("hello"));
}

TEST(Actions, ActionsWithoutBehaviourChangeNothing) {
  ControllerRig rig;
  rig.document.variables().Add(1, Variable::Plain(6));
  const OperandRecord var = VariableOperand(11, kScopeDocument, 1, 1);
  for (uint8_t type : {3, 5, 6, 12, 13, 200}) {
    EXPECT_TRUE(rig.Run(Node({}, {Act(type, {var, Int(3, 1)})})).empty());
    EXPECT_EQ(rig.document.variables().Find(1)->value(), 6);
    EXPECT_FALSE(rig.node->frozen);
  }
}

TEST(Actions, LabelOfAnEmbeddedDocumentByName) {
  ControllerRig rig;
  Document nested(EncodedText::FromNarrow("nested"), rig.provider);
  DocumentFile file;
  file.label_names.items = {{3, StoredText::From(EncodedText::FromNarrow("intro"))},
                            {8, StoredText::From(EncodedText::FromNarrow("outro"))}};
  std::string error;
  ASSERT_TRUE(nested.Build(std::move(file), DocumentNesting{}, error)) << error;

  EmbeddedSceneObject embedded_object;
  auto instance = std::make_unique<EmbeddedInstance>(embedded_object, Vec2{10, 10});
  EmbeddedInstance& view = *instance;
  rig.node->set_instance(std::move(instance));

  const HandlerNodeRecord action = Node({}, {Act(4, {TextOperand("outro")})});
  rig.Run(action);  // no document shown yet
  EXPECT_TRUE(nested.queued_labels().empty());

  view.document = &nested;
  rig.Run(action);
  rig.Run(Node({}, {Act(4, {TextOperand("missing")})}));
  EXPECT_THAT(nested.queued_labels(), ElementsAre(8));
  EXPECT_TRUE(rig.document.queued_labels().empty());

  // A node that shows another kind of object is no embedded scene.
  RectObject rect;
  rig.node->set_instance(std::make_unique<SizedInstance>(rect, Vec2{1, 1}));
  nested.TakeQueuedLabels();
  rig.Run(action);
  EXPECT_TRUE(nested.queued_labels().empty());
}

}  // namespace
}  // namespace cva::testing
