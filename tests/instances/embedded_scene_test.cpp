// Embedded scenes: the playback copy of the nested document, the background and the nested
// nodes placed by the embedding node, the embedded clock and label restarts, loading and
// unloading through property 16, and copies whose source goes away.

#include "document/document_loader.h"
#include "instance_rig.h"
#include "scene/hit/hit_test.h"
#include "scene/objects/embedded_scene_instance.h"

namespace cva::testing {
namespace {

SceneLabelValue LabelNamed(const std::string& name) {
  return SceneLabelValue{Stored(name)};
}

// A nested document: a 64 x 48 stage with background (0, 0, 255, 255) and a rectangle of
// colour (0, 255, 0, 255) placed at (5, 6) by node 1 from label 0 ("start") and at (7, 8)
// from label 2 ("later"). Variable 3 is 30.
DocumentFile Inner() {
  NodeRecord rect = Placing(1, 1, {Hold<2>(At(5, 6))});
  rect.labels.items.push_back(Label(2, {Hold<2>(At(7, 8))}));
  DocumentFile file = MakeDocument(Node(0, {}, {rect}));
  file.header.stage_width = 64;
  file.header.stage_height = 48;
  file.header.background = {0, 0, 255, 255};
  AddLabelName(file, 2, "later");
  file.objects.items = {Object(RectRecord{1, {4, 4}, {0, 255, 0, 255}})};
  VariableRecord variable;
  variable.id = 3;
  variable.plain = Flag(true);
  variable.initial = 30;
  file.variables.items.push_back(variable);
  return file;
}

class EmbeddedSceneTest : public InstanceTest {
 protected:
  // The outer document: embedded scene object 1 on resource 0 ("inner.cva", loaded with the
  // document when `load_flag`), placed by node 1 at (100, 50) in colour (255, 255, 255, 128)
  // with `motions`; label 5 ("unload") sets property 16 to 1 and label 6 ("load") to 0.
  void LoadOuter(std::vector<MotionEntry> motions, bool load_flag = true, int nodes = 1) {
    AddFile("inner.cva", Inner());
    ColourValue colour;
    colour.colour = {255, 255, 255, 128};
    motions.push_back(Hold<2>(At(100, 50)));
    motions.push_back(Hold<7>(colour));
    NodeRecord root = Node(0);
    for (int k = 1; k <= nodes; ++k) {
      NodeRecord node = Placing(static_cast<int16_t>(k), 1, motions);
      node.labels.items.push_back(Label(5, {Hold<16>(SceneLoadValue{1})}));
      node.labels.items.push_back(Label(6, {Hold<16>(SceneLoadValue{0})}));
      root.children.items.push_back(node);
    }
    DocumentFile file = MakeDocument(root);
    AddLabelName(file, 5, "unload");
    AddLabelName(file, 6, "load");
    file.resources.items = {Resource(0, ResourceKind::kDocument, "inner.cva", load_flag)};
    file.objects.items = {Object(EmbeddedSceneRecord{1, {0, 0, 0, 255}, 0})};
    Load(file);
  }
  EmbeddedSceneInstance& Embedded(int32_t node = 1) {
    return dynamic_cast<EmbeddedSceneInstance&>(*NodeById(node).instance());
  }
  DocumentLoader& Loader() {
    return static_cast<DocumentLoader&>(*host.document()->resources().Find(0));
  }
};

TEST_F(EmbeddedSceneTest, DrawsTheBackgroundThenTheNestedNodesPlacedByTheNode) {
  LoadOuter({Hold<15>(LabelNamed("start"))});
  const auto draws = TickAndDraw(0.0f);
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(draws[0].kind, DrawRecord::Kind::kSolidQuad);
  EXPECT_EQ(draws[0].colour, (Colour{0, 0, 255, 128}));
  EXPECT_EQ(Apply(draws[0].world, {0, 0}), (Vec2{100, 50}));
  // The nested rectangle: at (5, 6) inside the node, in the node's colour.
  EXPECT_EQ(Apply(draws[1].world, {0, 0}), (Vec2{105, 56}));
  EXPECT_EQ(Embedded().Size(), (Vec2{64, 48}));
  ASSERT_NE(Embedded().EmbeddedScene(), nullptr);
  EXPECT_EQ(Embedded().EmbeddedScene()->current_label(), 0);
}

TEST_F(EmbeddedSceneTest, NothingIsDrawnBeforeALabelIsChosen) {
  LoadOuter({});
  EXPECT_TRUE(TickAndDraw(10.0f).empty());
  // The copy exists, but its scene has no current label.
  EXPECT_NE(Embedded().EmbeddedDocument(), nullptr);
  // A label requested on the nested document (as a controller would) starts it.
  Embedded().EmbeddedDocument()->RequestLabel(2);
  const auto draws = TickAndDraw(0.0f);
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(Apply(draws[1].world, {0, 0}), (Vec2{107, 58}));
}

TEST_F(EmbeddedSceneTest, PointerPassReachesTheNestedNodes) {
  LoadOuter({Hold<15>(LabelNamed("start"))});
  TickAndDraw(0.0f);
  SceneNode& nested_rect = *FindIn(Embedded().EmbeddedDocument()->root(), 1);
  // The nested rectangle (4 x 4) sits at (105, 56) on the stage.
  EXPECT_FALSE(HitTest(*host.scene(), {107, 58}, true));
  EXPECT_EQ(nested_rect.hit_state, 1);
  EXPECT_TRUE(HitTest(*host.scene(), {120, 70}, true));
  EXPECT_EQ(nested_rect.hit_state, 0);
}

TEST_F(EmbeddedSceneTest, EmbeddedClockRunsByDtAndRestartsAtTheLabel) {
  LoadOuter({Hold<15>(LabelNamed("start"))});
  TickAndDraw(0.0f);
  Scene& embedded = *Embedded().EmbeddedScene();
  EXPECT_EQ(embedded.time(), 0.0f);
  TickAndDraw(25.0f);
  TickAndDraw(10.0f);
  EXPECT_FLOAT_EQ(embedded.time(), 35.0f);
  EXPECT_EQ(embedded.frame(), 3);
  Embedded().Reset();
  EXPECT_EQ(embedded.time(), 0.0f);
  EXPECT_EQ(embedded.frame(), 0);
}

TEST_F(EmbeddedSceneTest, PlaybackCopySharesTablesAndOwnsTreeAndVariables) {
  LoadOuter({Hold<15>(LabelNamed("start"))});
  TickAndDraw(0.0f);
  Document& source = *Loader().document();
  Document& copy = *Embedded().EmbeddedDocument();
  EXPECT_EQ(copy.source(), &source);
  EXPECT_EQ(&copy.objects(), &source.objects());
  EXPECT_EQ(&copy.resources(), &source.resources());
  EXPECT_EQ(&copy.label_names(), &source.label_names());
  EXPECT_EQ(&copy.header(), &source.header());
  ASSERT_NE(copy.root(), nullptr);
  EXPECT_NE(copy.root(), source.root());
  ASSERT_NE(copy.variables().Find(3), nullptr);
  copy.variables().Find(3)->Set(99);
  EXPECT_EQ(source.variables().Find(3)->value(), 30);
}

TEST_F(EmbeddedSceneTest, UnloadDropsTheDocumentAndLoadBringsItBack) {
  LoadOuter({Hold<15>(LabelNamed("start"))});
  TickAndDraw(0.0f);
  host.scene()->RequestLabel(5);
  EXPECT_TRUE(TickAndDraw(0.0f).empty());
  EXPECT_EQ(Embedded().EmbeddedDocument(), nullptr);
  EXPECT_EQ(Loader().state(), LoadableResource::kIdle);
  EXPECT_EQ(Embedded().Size(), EmbeddedSceneInstance::kDefaultSize);

  host.scene()->RequestLabel(6);
  for (int tick = 0; tick < 5; ++tick) TickAndDraw(0.0f);
  EXPECT_EQ(Loader().state(), LoadableResource::kDone);
  EXPECT_NE(Embedded().EmbeddedDocument(), nullptr);
}

TEST_F(EmbeddedSceneTest, DocumentNotLoadedWithItsParentStartsOnLoad) {
  LoadOuter({Hold<16>(SceneLoadValue{0}), Hold<15>(LabelNamed("start"))}, false);
  TickAndDraw(0.0f);
  for (int tick = 0; tick < 5 && !Embedded().EmbeddedDocument(); ++tick) TickAndDraw(0.0f);
  EXPECT_EQ(Loader().state(), LoadableResource::kDone);
  EXPECT_NE(Embedded().EmbeddedDocument(), nullptr);
}

TEST_F(EmbeddedSceneTest, UnloadThroughOneNodeOrphansTheOtherNodesCopy) {
  LoadOuter({Hold<15>(LabelNamed("start"))}, true, 2);
  EXPECT_EQ(TickAndDraw(0.0f).size(), 4u);
  // Only node 1 unloads; node 2's copy loses its source and is dropped, not left dangling.
  ASSERT_NE(Embedded(2).EmbeddedDocument(), nullptr);
  // What node 1's unload does after dropping its own copy.
  Loader().Unload();
  EXPECT_EQ(Embedded(2).EmbeddedDocument(), nullptr);
  EXPECT_EQ(Embedded(2).EmbeddedScene(), nullptr);
  EXPECT_TRUE(TickAndDraw(0.0f).empty());
  EXPECT_EQ(Embedded(1).EmbeddedDocument(), nullptr);
}

}  // namespace
}  // namespace cva::testing
