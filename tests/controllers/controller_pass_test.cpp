// Controllers built from node records and the pass that runs them over a scene.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "document/variable_table.h"
#include "scene/controller/controller_pass.h"
#include "scene/controller/node_controller.h"
#include "scene_rig.h"

namespace cva::testing {
namespace {

using ::testing::ElementsAre;

TEST(ControllerPass, RunsEveryControllerInPreOrder) {
  RigProvider provider;
  Document document(EncodedText::FromNarrow("doc"), provider);
  const auto jumping = [](int16_t id, int32_t label, std::vector<NodeRecord> children = {}) {
    return WithController(NodeWith(id, std::move(children)), Node({}, {Jump(label)}));
  };
  ASSERT_TRUE(BuildScene(
      document, jumping(0, 1, {jumping(1, 2, {jumping(2, 3), NodeWith(3)}), jumping(4, 4)})));
  EXPECT_TRUE(document.root()->has_controller());
  EXPECT_FALSE(FindNode(document.root(), 3)->has_controller());
  Scene scene(document);
  RunControllerPass(scene, {});
  EXPECT_THAT(document.queued_labels(), ElementsAre(1, 2, 3, 4));
  EXPECT_EQ(document.root()->controller()->document(), &document);
}

TEST(ControllerPass, ControllersKeepTheirOwnVariablesAndNamedTrees) {
  RigProvider provider;
  Document document(EncodedText::FromNarrow("doc"), provider);
  NodeRecord root = WithController(
      NodeWith(0), Node({}, {Act(10, {VariableOperand(10, 1, 6), Int(5, 1)})}));  // own var += 5
  VariableRecord variable;
  variable.plain = Flag(true);
  variable.id = 6;
  variable.initial = 100;
  root.controller.variables.items = {variable};
  root.controller.named_handlers.items = {{3, Node({}, {Jump(30)})}, {3, Node({}, {Jump(31)})}};
  ASSERT_TRUE(BuildScene(document, root));
  Scene scene(document);
  RunControllerPass(scene, {});
  RunControllerPass(scene, {});
  NodeController& controller = *document.root()->controller();
  EXPECT_EQ(controller.variables().Find(6)->value(), 110);
  EXPECT_EQ(document.variables().Find(6), nullptr);
  // Named trees are kept, the later of one key winning, and not run by the pass.
  ASSERT_EQ(controller.named_handlers().size(), 1u);
  EXPECT_TRUE(document.queued_labels().empty());
  HandlerNode& named = *controller.named_handlers().at(3);
  ControllerInput input;
  ControllerContext context{*document.root(), document, controller.variables(), input};
  named.Evaluate(context);
  EXPECT_THAT(document.queued_labels(), ElementsAre(31));
}

TEST(ControllerPass, PointerInputReachesTheConditions) {
  RigProvider provider;
  Document document(EncodedText::FromNarrow("doc"), provider);
  ASSERT_TRUE(
      BuildScene(document, WithController(NodeWith(0), Node({Cond(11, {Int(kLeftButton)})},
                                                            {Jump(1)}, Node({}, {Jump(2)})))));
  Scene scene(document);
  RunControllerPass(scene, {kLeftButton, 0, false});
  RunControllerPass(scene, {kLeftButton, kLeftButton, false});
  EXPECT_THAT(document.queued_labels(), ElementsAre(2, 1));
}

TEST(ControllerPass, EmbeddedScenesWithACurrentLabelRunTheirControllers) {
  RigProvider provider;
  Document outer(EncodedText::FromNarrow("outer"), provider);
  Document nested(EncodedText::FromNarrow("nested"), provider);
  ASSERT_TRUE(BuildScene(outer, NodeWith(0, {WithController(NodeWith(1), Node({}, {Jump(1)})),
                                             WithController(NodeWith(2), Node({}, {Jump(2)}))})));
  ASSERT_TRUE(BuildScene(nested, WithController(NodeWith(0), Node({}, {Jump(9)}))));
  Scene outer_scene(outer), nested_scene(nested);

  EmbeddedSceneObject object;
  auto instance = std::make_unique<EmbeddedInstance>(object, Vec2{1, 1});
  instance->document = &nested;
  instance->scene = &nested_scene;
  FindNode(outer.root(), 1)->set_instance(std::move(instance));

  RunControllerPass(outer_scene, {});  // no current label yet: the nested scene does not run
  EXPECT_TRUE(nested.queued_labels().empty());
  outer.TakeQueuedLabels();

  nested_scene.GotoLabel(5);
  RunControllerPass(outer_scene, {});
  EXPECT_THAT(nested.queued_labels(), ElementsAre(9));
  EXPECT_THAT(outer.queued_labels(), ElementsAre(1, 2));
  EXPECT_EQ(nested.root()->controller()->document(), &nested);
}

}  // namespace
}  // namespace cva::testing
