// Scene object definitions: the factory's defaults, the primitives Attach configures, image
// resolving, and the two link steps of meshes.

#include <gtest/gtest.h>

#include <cmath>

#include "document/document.h"
#include "object_bytes.h"
#include "recording_provider.h"
#include "scene/objects/mesh_object.h"
#include "scene/objects/object_factory.h"
#include "scene/objects/object_table.h"
#include "scene/objects/simple_objects.h"
#include "scene/objects/textured_objects.h"
#include "scene/objects/warp_image_object.h"

namespace cva::testing {
namespace {

ObjectEntry Entry(const std::vector<uint8_t>& bytes) {
  ObjectEntry entry;
  const ReadResult result = ReadRecord(bytes, entry);
  EXPECT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.remaining, 0u);
  return entry;
}

class ObjectTableTest : public ::testing::Test {
 protected:
  // Builds the table from the entries; fails the test when building fails.
  void Build(const std::vector<std::vector<uint8_t>>& entries) {
    CountedList<ObjectEntry> list;
    for (const auto& bytes : entries) list.items.push_back(Entry(bytes));
    std::string error;
    ASSERT_TRUE(BuildObjectTable(list, document, table, error)) << error;
  }
  // Adds image resource `id` to the document and, when `load` is set, loads it.
  ImageResource* AddImage(int16_t id, bool load) {
    auto image = provider.CreateImageResource(EncodedText::FromNarrow("a.png"));
    ImageResource* raw = image.get();
    document.resources().Add(id, std::move(image));
    if (load) {
      raw->Start();
      raw->Poll();
      raw->Poll();
      EXPECT_TRUE(raw->done());
    }
    return raw;
  }
  template <class T>
  T& Get(int32_t id) {
    auto* object = dynamic_cast<T*>(table.Find(id));
    EXPECT_NE(object, nullptr) << "no object " << id << " of the expected class";
    static T kMissing;
    return object ? *object : kMissing;
  }

  RecordingProvider provider;
  Document document{EncodedText::FromNarrow("doc.cva"), provider};
  ObjectTable table;
};

TEST(ObjectFactory, CreatesEachTypeWithItsDefaultsAndNothingForUnknownCodes) {
  for (uint8_t type = 1; type <= 11; ++type) {
    std::unique_ptr<SceneObject> object = CreateSceneObject(type);
    ASSERT_NE(object, nullptr) << int(type);
    EXPECT_EQ(static_cast<uint8_t>(object->TypeCode()), type);
    EXPECT_EQ(object->id(), -1);
    EXPECT_EQ(object->document(), nullptr);
  }
  EXPECT_EQ(CreateSceneObject(uint8_t{0}), nullptr);
  EXPECT_EQ(CreateSceneObject(uint8_t{12}), nullptr);

  auto rect_object = CreateSceneObject(1);
  const RectRecord& rect = static_cast<RectObject&>(*rect_object).record();
  EXPECT_EQ(rect.size, (Vec2{10.0f, 10.0f}));
  EXPECT_EQ(rect.colour, (Colour{255, 255, 255, 255}));
  auto image = CreateSceneObject(2);
  const ImageRecord& image_record = static_cast<ImageObject&>(*image).record();
  EXPECT_EQ(image_record.size, (Vec2{10.0f, 10.0f}));
  EXPECT_EQ(image_record.texture_origin, (Vec2{0.0f, 0.0f}));
  EXPECT_EQ(image_record.image, -1);
  EXPECT_TRUE(static_cast<ImageObject&>(*image).image().needs_resolving());
  auto embedded_object = CreateSceneObject(3);
  const EmbeddedSceneRecord& embedded =
      static_cast<EmbeddedSceneObject&>(*embedded_object).record();
  EXPECT_EQ(embedded.colour, (Colour{0, 0, 0, 255}));
  EXPECT_EQ(embedded.document, -1);
  auto sound_object = CreateSceneObject(4);
  const SoundRecord& sound = static_cast<SoundObject&>(*sound_object).record();
  EXPECT_EQ(sound.sound, -1);
  EXPECT_EQ(sound.start, 0.0f);
  EXPECT_EQ(sound.length, 0.0f);
}

TEST(ObjectFactory, LoadTakesOnlyItsOwnRecordType) {
  std::unique_ptr<SceneObject> rect = CreateSceneObject(1);
  EXPECT_FALSE(rect->Load(ImageRecord{}));
  EXPECT_EQ(rect->id(), -1);
  ObjectEntry mismatched = Entry(RectBytes(-3));
  mismatched.type = 2;
  EXPECT_EQ(CreateSceneObject(mismatched), nullptr);
  std::unique_ptr<SceneObject> loaded = CreateSceneObject(Entry(RectBytes(-3)));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->id(), -3);  // sign-extended
}

TEST_F(ObjectTableTest, ObjectsAreAttachedAndKeyedByIdFirstWins) {
  Build({RectBytes(7), JointBytes(3), RectBytes(7)});
  EXPECT_EQ(table.size(), 2u);
  RectObject& rect = Get<RectObject>(7);
  EXPECT_EQ(rect.document(), &document);
  ASSERT_EQ(provider.quads.size(), 2u);  // both rectangles were built; the second was dropped
  EXPECT_EQ(rect.quad(), provider.quads[0]);
  EXPECT_EQ(provider.quads[0]->size, (Vec2{3.5f, 4.0f}));
  EXPECT_EQ(Get<JointObject>(3).size(), (Vec2{6.0f, 8.0f}));
}

TEST_F(ObjectTableTest, ImageSpriteGetsItsImageOnceLoaded) {
  ImageResource* image = AddImage(5, false);
  Build({ImageBytes(1, 5)});
  ImageObject& object = Get<ImageObject>(1);
  ASSERT_EQ(provider.sprites.size(), 1u);
  RecordingProvider::SpriteLog& sprite = *provider.sprites[0];
  EXPECT_EQ(sprite.image, nullptr);  // not loaded yet: untextured, still to resolve
  EXPECT_EQ(sprite.size, (Vec2{32.0f, 16.0f}));
  EXPECT_EQ(sprite.uv_offset, (Vec2{0.25f, 0.5f}));
  EXPECT_EQ(object.ResolveImage(), nullptr);
  EXPECT_TRUE(object.image().needs_resolving());

  image->Start();
  image->Poll();
  image->Poll();
  EXPECT_EQ(object.ResolveImage(), image);
  EXPECT_EQ(sprite.image, image);
  EXPECT_FALSE(object.image().needs_resolving());

  InvalidateImageObjects(table);
  EXPECT_TRUE(object.image().needs_resolving());
  const int calls = sprite.set_image_calls;
  EXPECT_EQ(object.ResolveImage(), image);
  EXPECT_EQ(sprite.set_image_calls, calls + 1);
}

TEST_F(ObjectTableTest, ImageReferenceResolvesOnlyToALoadedImage) {
  // A loaded sound under id 7 is no image.
  class Sound final : public SoundResource {
   public:
    using SoundResource::SoundResource;

   protected:
    LoadResult Load(std::vector<uint8_t>&) override { return kLoaded; }
  };
  auto sound = std::make_unique<Sound>(provider, EncodedText::FromNarrow("a.wav"));
  sound->LoadDirectly();
  ASSERT_TRUE(sound->done());
  document.resources().Add(7, std::move(sound));
  AddImage(6, true);
  Build({ImageBytes(1, 5), ImageBytes(2, 6), ImageBytes(3, 7)});
  EXPECT_EQ(Get<ImageObject>(1).ResolveImage(), nullptr);  // no resource 5
  EXPECT_NE(Get<ImageObject>(2).ResolveImage(), nullptr);
  EXPECT_EQ(Get<ImageObject>(3).ResolveImage(), nullptr);
  EXPECT_TRUE(Get<ImageObject>(3).image().needs_resolving());
}

TEST_F(ObjectTableTest, PanelBuildsNineSpritesAnewOnEveryAttach) {
  ByteWriter out;
  out.Byte(7);
  out.Short(16);
  for (int i = 0; i < 4; ++i) PutVec2(out, 1, 1);
  out.Short(-1);
  PutColour(out, 1, 1, 1, 1);
  Build({out.Take()});
  PanelObject& panel = Get<PanelObject>(16);
  EXPECT_TRUE(panel.untextured());
  EXPECT_EQ(provider.sprites.size(), 9u);
  EXPECT_EQ(panel.ResolveImage(), nullptr);
  panel.Attach(16, document);
  EXPECT_EQ(provider.sprites.size(), 18u);
  EXPECT_EQ(panel.part(8), provider.sprites[17]);
}

TEST_F(ObjectTableTest, TextAndParticleConfigureTheirPrimitives) {
  ByteWriter text;
  text.Byte(5);
  text.Short(2);
  PutColour(text, 0, 0, 0, 0);
  PutColour(text, 0, 0, 0, 0);
  PutVec2(text, 5, 5);
  text.Short(0);
  AddImage(2, true);
  Build({text.Take(), ParticleBytes(3)});
  ASSERT_EQ(provider.quads.size(), 1u);
  EXPECT_EQ(provider.quads[0]->size, (Vec2{1.0f, 1.0f}));
  ASSERT_EQ(provider.sprites.size(), 1u);
  EXPECT_NE(provider.sprites[0]->image, nullptr);
  EXPECT_EQ(provider.sprites[0]->size, (Vec2{8.0f, 9.0f}));
  EXPECT_EQ(provider.sprites[0]->uv_offset, (Vec2{0.5f, 0.0f}));
}

TEST_F(ObjectTableTest, MeshUploadsVerticesAndSafeIndices) {
  AddImage(4, true);
  Build({MeshBytes(1, {2, 3, -1})});  // 3 and 0xFFFF name no vertex
  ASSERT_EQ(provider.meshes.size(), 1u);
  const RecordingProvider::MeshLog& mesh = *provider.meshes[0];
  EXPECT_EQ(mesh.vertex_count, 3);
  EXPECT_EQ(mesh.index_count, 3);
  EXPECT_NE(mesh.image, nullptr);
  EXPECT_FALSE(mesh.wrote_unlocked);
  EXPECT_FALSE(mesh.locked);
  EXPECT_EQ(mesh.positions[1], (Vec2{200.0f, -3.0f}));
  EXPECT_EQ(mesh.uvs[1], (Vec2{200.0f / 4.0f, -3.0f / 2.0f}));
  EXPECT_EQ(mesh.indices, (std::vector<uint16_t>{2, 0, 0}));
}

TEST_F(ObjectTableTest, MeshOfWidthOneStillLoadsWithUnboundedTextureCoordinates) {
  Build({MeshBytes(1, {0, 1, 2}, 1)});
  ASSERT_EQ(provider.meshes.size(), 1u);
  EXPECT_TRUE(std::isnan(provider.meshes[0]->uvs[0].x));  // 0 / 0
  EXPECT_TRUE(std::isinf(provider.meshes[0]->uvs[1].x));  // 200 / 0
}

TEST_F(ObjectTableTest, MeshWithoutIndicesOrVerticesRequestsNoPrimitive) {
  Build({MeshBytes(1, {})});
  EXPECT_TRUE(provider.meshes.empty());
  EXPECT_EQ(Get<MeshObject>(1).mesh(), nullptr);
}

TEST_F(ObjectTableTest, MeshIndicesNotStoredAreUploadedAsZeros) {
  std::vector<uint8_t> bytes = MeshBytes(1, {});
  bytes.resize(bytes.size() - 2);
  ByteWriter tail;
  tail.Short(6);
  tail.Byte(2);
  tail.Byte(1);  // flag set: the numbers are not stored
  bytes.insert(bytes.end(), tail.bytes().begin(), tail.bytes().end());
  Build({bytes});
  ASSERT_EQ(provider.meshes.size(), 1u);
  EXPECT_EQ(provider.meshes[0]->index_count, 6);
  EXPECT_EQ(provider.meshes[0]->indices, std::vector<uint16_t>(6, 0));
}

TEST_F(ObjectTableTest, MeshRebuildsItsPrimitiveInTheSecondLinkStep) {
  Build({MeshBytes(1)});
  ASSERT_EQ(provider.meshes.size(), 1u);
  CompleteMeshLinks(table);
  ASSERT_EQ(provider.meshes.size(), 2u);
  EXPECT_EQ(Get<MeshObject>(1).mesh(), provider.meshes[1]);
  EXPECT_EQ(provider.meshes[1]->indices, (std::vector<uint16_t>{0, 1, 2}));
}

TEST_F(ObjectTableTest, WarpGridIsBoundedAndIndexesOnlyItsVertices) {
  Build({WarpBytes(1, 2, 1), WarpBytes(2, 0, 5), WarpBytes(3, -4, 5), WarpBytes(4, 100000, 2)});
  ASSERT_EQ(provider.meshes.size(), 2u);  // none for 0 or negative columns
  const RecordingProvider::MeshLog& small = *provider.meshes[0];
  EXPECT_EQ(small.vertex_count, 6);
  EXPECT_EQ(small.index_count, 12);
  EXPECT_EQ(small.indices, (std::vector<uint16_t>{0, 1, 3, 1, 4, 3, 1, 2, 4, 2, 5, 4}));
  EXPECT_EQ(small.uvs[5], (Vec2{1.0f, 1.0f}));
  EXPECT_EQ(small.uvs[1], (Vec2{0.5f, 0.0f}));
  EXPECT_FALSE(small.wrote_unlocked);

  const RecordingProvider::MeshLog& big = *provider.meshes[1];
  EXPECT_EQ(Get<WarpImageObject>(4).columns(), WarpImageObject::kMaxCells);
  EXPECT_EQ(big.vertex_count, 256 * 3);
  EXPECT_EQ(big.index_count, 255 * 2 * 6);
  ASSERT_EQ(big.indices.size(), size_t(big.index_count));
  uint16_t largest = 0;
  for (uint16_t i : big.indices) largest = std::max(largest, i);
  EXPECT_EQ(largest, big.vertex_count - 1);
  EXPECT_FALSE(big.wrote_unlocked);

  // The largest grid still fits 16-bit indices.
  WarpImageRecord huge;
  huge.columns = 1 << 30;
  huge.rows = 1 << 30;
  WarpImageObject object;
  ASSERT_TRUE(object.Load(huge));
  EXPECT_EQ(object.VertexCount(), 65536);
}

TEST_F(ObjectTableTest, MeshLinksItsJointTreeInStoredOrder) {
  Build({MeshBytes(1), JointBytes(10), JointBytes(11), JointBytes(12), JointBytes(13)});
  MeshObject& mesh = Get<MeshObject>(1);
  EXPECT_FALSE(mesh.joint_tree_pending());
  JointObject& root = Get<JointObject>(10);
  EXPECT_EQ(mesh.root_joint(), &root);
  EXPECT_EQ(root.owner(), &mesh);
  EXPECT_EQ(root.parent(), nullptr);
  EXPECT_EQ(root.children(),
            (std::vector<JointObject*>{&Get<JointObject>(11), &Get<JointObject>(12)}));
  EXPECT_EQ(Get<JointObject>(11).children(), (std::vector<JointObject*>{&Get<JointObject>(13)}));
  EXPECT_EQ(Get<JointObject>(13).parent(), &Get<JointObject>(11));
  EXPECT_EQ(Get<JointObject>(13).owner(), &mesh);

  LinkMeshJoints(table);  // the tree is linked once only
  EXPECT_EQ(root.children().size(), 2u);
}

TEST_F(ObjectTableTest, MissingOrNonJointIdsSkipTheirSubtree) {
  // Joint 11 is missing, so 13 below it stays unlinked; 12 is a rectangle, not a joint.
  Build({MeshBytes(1), JointBytes(10), RectBytes(12), JointBytes(13)});
  JointObject& root = Get<JointObject>(10);
  EXPECT_TRUE(root.children().empty());
  EXPECT_FALSE(Get<JointObject>(13).linked());
}

TEST_F(ObjectTableTest, AJointNamedTwiceIsLinkedOnce) {
  ByteWriter out;
  out.Byte(8);
  out.Short(1);
  out.Short(-1);
  PutColour(out, 0, 0, 0, 0);
  PutJointNode(out, 10, 2);
  PutJointNode(out, 10, 1);  // the root again, below itself
  PutJointNode(out, 11, 0);
  PutJointNode(out, 12, 0);
  out.Short(0);
  out.Short(0);
  out.Short(0);
  // A second mesh naming joint 12, which the first mesh has linked already.
  ByteWriter second;
  second.Byte(8);
  second.Short(2);
  second.Short(-1);
  PutColour(second, 0, 0, 0, 0);
  PutJointNode(second, 12, 0);
  second.Short(0);
  second.Short(0);
  second.Short(0);
  Build({out.Take(), second.Take(), JointBytes(10), JointBytes(11), JointBytes(12)});
  JointObject& root = Get<JointObject>(10);
  EXPECT_EQ(root.parent(), nullptr);
  EXPECT_EQ(root.children(), (std::vector<JointObject*>{&Get<JointObject>(12)}));
  EXPECT_FALSE(Get<JointObject>(11).linked());
  EXPECT_EQ(Get<JointObject>(12).owner(), &Get<MeshObject>(1));
  EXPECT_EQ(Get<MeshObject>(2).root_joint(), nullptr);
}

TEST_F(ObjectTableTest, ADeepJointChainLinksWithoutRecursion) {
  constexpr int kDepth = 200;  // within what a document may nest
  ByteWriter out;
  out.Byte(8);
  out.Short(1);
  out.Short(-1);
  PutColour(out, 0, 0, 0, 0);
  for (int i = 0; i < kDepth; ++i) PutJointNode(out, 100 + i, i + 1 < kDepth ? 1 : 0);
  out.Short(0);
  out.Short(0);
  out.Short(0);
  std::vector<std::vector<uint8_t>> entries{out.Take()};
  for (int i = 0; i < kDepth; ++i) entries.push_back(JointBytes(static_cast<int16_t>(100 + i)));
  Build(entries);
  const JointObject* joint = Get<MeshObject>(1).root_joint();
  int depth = 0;
  while (joint) {
    ++depth;
    joint = joint->children().empty() ? nullptr : joint->children()[0];
  }
  EXPECT_EQ(depth, kDepth);
}

TEST_F(ObjectTableTest, AnEntryWithoutARecordFailsTheBuild) {
  CountedList<ObjectEntry> list;
  list.items.push_back(ObjectEntry{});
  std::string error;
  EXPECT_FALSE(BuildObjectTable(list, document, table, error));
  EXPECT_NE(error.find("unknown object type code 0"), std::string::npos);
}

}  // namespace
}  // namespace cva::testing
