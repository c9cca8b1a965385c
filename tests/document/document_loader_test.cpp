#include "document/document_loader.h"

#include <gtest/gtest.h>

#include "document/fake_provider.h"
#include "document/test_document_bytes.h"
#include "scene/scene_node.h"

namespace cva {
namespace {

using testing::FakeProvider;
using testing::TestDocument;

EncodedText Sjis(const char* s) {
  return EncodedText::FromNarrow(s);
}

class DocumentLoaderTest : public ::testing::Test {
 protected:
  // Polls until the loader stops changing or `limit` polls have run; returns the polls made.
  int PollUntilSettled(DocumentLoader& loader, int limit = 10) {
    int polls = 0;
    while (polls < limit) {
      ++polls;
      const LoadableResource::State s = loader.Poll();
      if (s == LoadableResource::kDone || s == LoadableResource::kFailed) break;
    }
    return polls;
  }

  FakeProvider provider;
};

TEST_F(DocumentLoaderTest, ForeignMagicOrVersionLoadsAsAnEmptyDocument) {
  TestDocument wrong_version;
  wrong_version.version = 1;
  wrong_version.labels = {{1, "default"}};
  provider.files["v.cva"] = wrong_version.Bytes();
  provider.files["m.cva"] = {'c', 'v', 'b', 0, 1, 2};
  for (const char* name : {"v.cva", "m.cva"}) {
    DocumentLoader loader(provider, Sjis(name));
    loader.Start();
    EXPECT_EQ(loader.Poll(), LoadableResource::kFetched);
    EXPECT_EQ(loader.Poll(), LoadableResource::kDone) << loader.error();
    ASSERT_NE(loader.document(), nullptr);
    EXPECT_EQ(loader.document()->label_names().size(), 0u);
    EXPECT_EQ(loader.document()->header().stage_width, 200.0f);
    EXPECT_TRUE(loader.error().empty());
  }
}

TEST_F(DocumentLoaderTest, TruncatedDocumentFailsWithTheOffset) {
  std::vector<uint8_t> bytes = TestDocument().Bytes();
  bytes.resize(16);  // ends inside the stage width, which starts at byte 14
  provider.files["t.cva"] = bytes;
  DocumentLoader loader(provider, Sjis("t.cva"));
  loader.Start();
  PollUntilSettled(loader);
  EXPECT_EQ(loader.state(), LoadableResource::kFailed);
  ASSERT_TRUE(loader.error_offset().has_value());
  EXPECT_EQ(*loader.error_offset(), 14u);
  EXPECT_NE(loader.error().find("stage_width"), std::string::npos) << loader.error();
  EXPECT_EQ(loader.document(), nullptr);
}

TEST_F(DocumentLoaderTest, EmptyBytesAndAbsurdCountsAreMalformed) {
  provider.files["empty.cva"] = {};
  TestDocument huge;
  huge.variables = {0xFF, 0x7F, 1, 0, 0};  // 32767 variables, then the data ends
  std::vector<uint8_t> bytes = huge.Bytes();
  bytes.resize(8 + 5);
  provider.files["huge.cva"] = bytes;
  for (const char* name : {"empty.cva", "huge.cva"}) {
    DocumentLoader loader(provider, Sjis(name));
    loader.Start();
    PollUntilSettled(loader);
    EXPECT_EQ(loader.state(), LoadableResource::kFailed) << name;
    EXPECT_TRUE(loader.error_offset().has_value()) << name;
  }
}

TEST_F(DocumentLoaderTest, EveryTruncationFailsWithinTheData) {
  TestDocument doc;
  doc.variables = {1, 0, 0, 3, 0, 0, 0, 0, 0, 10, 0, 0, 0, 1, 1, 25, 0, 0, 0, 1};
  doc.resources = {{1, true, 0, "a.png"}, {2, false, 2, "b.cva"}, {3, true, 1, "c.wav"}};
  doc.labels = {{1000, "default"}};
  const std::vector<uint8_t> whole = doc.Bytes();
  for (size_t size = 0; size < whole.size(); ++size) {
    provider.files["t.cva"].assign(whole.begin(), whole.begin() + size);
    DocumentLoader loader(provider, Sjis("t.cva"));
    loader.Start();
    PollUntilSettled(loader);
    ASSERT_EQ(loader.state(), LoadableResource::kFailed) << size;
    ASSERT_TRUE(loader.error_offset().has_value()) << size;
    EXPECT_LE(*loader.error_offset(), size);
  }
  provider.files["t.cva"] = whole;
  provider.files["a.png"] = {1};
  DocumentLoader loader(provider, Sjis("t.cva"));
  loader.Start();
  PollUntilSettled(loader);
  ASSERT_EQ(loader.state(), LoadableResource::kDone) << loader.error();
  EXPECT_EQ(loader.document()->variables().Find(3)->value(), 5);
}

TEST_F(DocumentLoaderTest, MissingDocumentFailsOnStart) {
  DocumentLoader loader(provider, Sjis("none.cva"));
  EXPECT_EQ(loader.Start(), LoadableResource::kFailed);
  EXPECT_NE(loader.error().find("none.cva"), std::string::npos);
  EXPECT_FALSE(loader.error_offset().has_value());
}

TEST_F(DocumentLoaderTest, DocumentContainingItselfIsRefusedWithoutFetching) {
  provider.files["a.cva"] = TestDocument().Bytes();
  DocumentLoader loader(provider, Sjis("a.cva"),
                        {{Sjis("top.cva"), Sjis("a.cva"), Sjis("b.cva")}, nullptr});
  EXPECT_EQ(loader.Start(), LoadableResource::kFailed);
  EXPECT_NE(loader.error().find("contains itself"), std::string::npos) << loader.error();
  EXPECT_TRUE(provider.opened.empty());

  DocumentLoader nested(
      provider, Sjis("a.cva"),
      {std::vector<EncodedText>(DocumentLoader::kMaxNesting, Sjis("y.cva")), nullptr});
  EXPECT_EQ(nested.Start(), LoadableResource::kFailed);
  EXPECT_NE(nested.error().find("deeper"), std::string::npos) << nested.error();
}

TEST_F(DocumentLoaderTest, MinimalDocumentIsUsableOnTheSecondPoll) {
  TestDocument doc;
  doc.labels = {{1000, "default"}, {1001, "default"}};
  provider.files["base.cva"] = doc.Bytes();
  DocumentLoader loader(provider, Sjis("base.cva"));
  EXPECT_EQ(loader.Start(), LoadableResource::kRequested);
  EXPECT_EQ(loader.Poll(), LoadableResource::kFetched);
  EXPECT_EQ(loader.Poll(), LoadableResource::kDone) << loader.error();
  const Document* document = loader.document();
  ASSERT_NE(document, nullptr);
  EXPECT_EQ(document->name(), Sjis("base.cva"));
  EXPECT_EQ(document->header().frame_duration, 50.0f);
  EXPECT_EQ(document->label_names().Find(Sjis("default")), 1000);
  EXPECT_EQ(document->label_names().size(), 1u);
  ASSERT_NE(document->root(), nullptr);
  EXPECT_EQ(document->root()->id(), 0);
  EXPECT_TRUE(document->root()->children().empty());
}

TEST_F(DocumentLoaderTest, ObjectsSectionFillsTheObjectTable) {
  ByteWriter objects;
  objects.Short(1);
  objects.Byte(1);  // rectangle
  objects.Short(5);
  objects.Float(4.0f);
  objects.Float(3.0f);
  objects.Int(-1);  // colour
  TestDocument doc;
  doc.objects = objects.Take();
  doc.root_object = 5;
  provider.files["rect.cva"] = doc.Bytes();
  doc.objects[2] = 12;  // no such type
  provider.files["bad.cva"] = doc.Bytes();

  DocumentLoader loader(provider, Sjis("rect.cva"));
  loader.Start();
  PollUntilSettled(loader);
  ASSERT_EQ(loader.state(), LoadableResource::kDone) << loader.error();
  const SceneObject* rect = loader.document()->objects().Find(5);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->TypeCode(), ObjectType::kRect);
  EXPECT_EQ(rect->document(), loader.document());

  DocumentLoader bad(provider, Sjis("bad.cva"));
  bad.Start();
  PollUntilSettled(bad);
  EXPECT_EQ(bad.state(), LoadableResource::kFailed);
  EXPECT_NE(bad.error().find("unknown object type code 12"), std::string::npos) << bad.error();
}

TEST_F(DocumentLoaderTest, NodeNamesFollowTheHeaderFlag) {
  TestDocument doc;
  doc.node_names = true;
  provider.files["named.cva"] = doc.Bytes();
  DocumentLoader loader(provider, Sjis("named.cva"));
  loader.Start();
  PollUntilSettled(loader);
  ASSERT_EQ(loader.state(), LoadableResource::kDone) << loader.error();
  EXPECT_EQ(loader.document()->root()->name(), Sjis("root"));
}

TEST_F(DocumentLoaderTest, WaitsForImagesAndFlaggedNestedDocuments) {
  TestDocument doc;
  doc.resources = {{1, true, 0, "a.png"},
                   {2, true, 2, "sub.cva"},
                   {3, false, 2, "later.cva"},
                   {4, true, 1, "s.wav"}};
  provider.files["main.cva"] = doc.Bytes();
  provider.files["sub.cva"] = TestDocument().Bytes();
  provider.files["a.png"] = {1};
  DocumentLoader loader(provider, Sjis("main.cva"));
  loader.Start();
  EXPECT_EQ(loader.Poll(), LoadableResource::kFetched);
  // Parses, starts a.png and sub.cva and polls them once (both fetched) ...
  EXPECT_EQ(loader.Poll(), LoadableResource::kFetched);
  // ... then their second poll loads them.
  EXPECT_EQ(loader.Poll(), LoadableResource::kDone) << loader.error();
  EXPECT_EQ(provider.opened, (std::vector<std::string>{"main.cva", "a.png", "sub.cva"}));
  const ResourceTable& resources = loader.document()->resources();
  EXPECT_EQ(resources.Find(2)->state(), LoadableResource::kDone);
  EXPECT_EQ(resources.Find(3)->state(), LoadableResource::kIdle);
}

TEST_F(DocumentLoaderTest, FailedImageFailsTheDocumentAndRestartRefetches) {
  TestDocument doc;
  doc.resources = {{1, true, 0, "bad.png"}};
  provider.files["main.cva"] = doc.Bytes();
  provider.files["bad.png"] = {};  // does not decode
  DocumentLoader loader(provider, Sjis("main.cva"));
  loader.Start();
  PollUntilSettled(loader);
  EXPECT_EQ(loader.state(), LoadableResource::kFailed);
  EXPECT_NE(loader.error().find("bad.png"), std::string::npos) << loader.error();

  // Restarts drop the document parsed before, so they never use up the nesting budget.
  for (uint32_t i = 0; i < DocumentLoader::kMaxDocuments; ++i) {
    loader.Start();
    PollUntilSettled(loader);
  }
  EXPECT_NE(loader.error().find("bad.png"), std::string::npos) << loader.error();

  provider.files["bad.png"] = {1};
  provider.opened.clear();
  EXPECT_EQ(loader.Start(), LoadableResource::kRequested);
  PollUntilSettled(loader);
  EXPECT_EQ(loader.state(), LoadableResource::kDone) << loader.error();
  EXPECT_EQ(provider.opened, (std::vector<std::string>{"main.cva", "bad.png"}));
}

TEST_F(DocumentLoaderTest, SelfNestingDocumentFailsInsteadOfLoadingForever) {
  TestDocument a;
  a.resources = {{1, true, 2, "b.cva"}};
  TestDocument b;
  b.resources = {{1, true, 2, "a.cva"}};
  provider.files["a.cva"] = a.Bytes();
  provider.files["b.cva"] = b.Bytes();
  DocumentLoader loader(provider, Sjis("a.cva"));
  loader.Start();
  EXPECT_LT(PollUntilSettled(loader, 50), 50);
  EXPECT_EQ(loader.state(), LoadableResource::kFailed);
  EXPECT_NE(loader.error().find("contains itself"), std::string::npos) << loader.error();
}

TEST_F(DocumentLoaderTest, DocumentsNamingEachOtherManyTimesOverFail) {
  TestDocument a;
  TestDocument b;
  for (int16_t id = 1; id <= 40; ++id) {
    a.resources.push_back({id, true, 2, "b.cva"});
    b.resources.push_back({id, true, 2, "c.cva"});
  }
  provider.files["a.cva"] = a.Bytes();
  provider.files["b.cva"] = b.Bytes();
  provider.files["c.cva"] = TestDocument().Bytes();
  DocumentLoader loader(provider, Sjis("a.cva"));
  loader.Start();
  EXPECT_LT(PollUntilSettled(loader, 20), 20);
  EXPECT_EQ(loader.state(), LoadableResource::kFailed);
  EXPECT_NE(loader.error().find("more than 1024 nested documents"), std::string::npos)
      << loader.error();

  // Forty documents of twenty each stay within the budget.
  b.resources.resize(20);
  provider.files["b.cva"] = b.Bytes();
  DocumentLoader smaller(provider, Sjis("a.cva"));
  smaller.Start();
  PollUntilSettled(smaller, 20);
  EXPECT_EQ(smaller.state(), LoadableResource::kDone) << smaller.error();
}

}  // namespace
}  // namespace cva
