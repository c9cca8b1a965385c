#include <gtest/gtest.h>

#include "document/document.h"
#include "document/document_file.h"
#include "document/fake_provider.h"
#include "document/label_name_table.h"
#include "document/test_document_bytes.h"
#include "stream/buffer_reader.h"
#include "stream/read_visitor.h"
#include "stream/write_visitor.h"

namespace cva {
namespace {

using testing::FakeProvider;

EncodedText Sjis(const char* s) {
  return EncodedText::FromNarrow(s);
}

TEST(LabelNameTable, FirstEqualNameWinsAndLookupWalksInIdOrder) {
  LabelNameTable table;
  EXPECT_TRUE(table.Add(20, Sjis("intro")));
  EXPECT_FALSE(table.Add(5, Sjis("intro")));
  EXPECT_TRUE(table.Add(7, Sjis("loop")));
  EXPECT_EQ(table.Find(Sjis("intro")), 20);
  EXPECT_EQ(table.Find(Sjis("loop")), 7);
  EXPECT_EQ(table.Find(Sjis("missing")), -1);
  EXPECT_EQ(table.NameOf(5), nullptr);
  // The same word stored as UTF-16 is another name.
  EXPECT_TRUE(table.Add(1, EncodedText::FromUtf16(u"intro")));
  EXPECT_EQ(table.Find(EncodedText::FromUtf16(u"intro")), 1);
  EXPECT_EQ(table.Find(Sjis("intro")), 20);
}

StoredText Name(const char* s) {
  return StoredText::From(Sjis(s));
}

ResourceRecord Resource(int16_t id, uint8_t kind, const char* name, bool load = true) {
  ResourceRecord r;
  r.id = id;
  r.kind = kind;
  r.name = Name(name);
  r.load = load;
  return r;
}

class DocumentBuildTest : public ::testing::Test {
 protected:
  bool Build(DocumentFile file) { return document.Build(std::move(file), {}, error); }

  FakeProvider provider;
  Document document{Sjis("main.cva"), provider};
  std::string error;
};

TEST_F(DocumentBuildTest, FirstResourceOfAnIdWinsAndOnlyItIsCreated) {
  DocumentFile file;
  file.resources.items = {Resource(3, 0, "a.png"), Resource(3, 1, "b.wav"), Resource(1, 1, "c.wav"),
                          Resource(2, 1, "gone.wav"), Resource(4, 2, "sub.cva", false)};
  provider.missing_sounds = {"gone.wav"};
  ASSERT_TRUE(Build(std::move(file))) << error;

  EXPECT_EQ(provider.created, (std::vector<std::string>{"a.png", "c.wav", "gone.wav"}));
  const ResourceTable& table = document.resources();
  EXPECT_EQ(table.size(), 3u);  // the missing sound is left out
  ASSERT_NE(table.Find(3), nullptr);
  EXPECT_EQ(table.Find(3)->Kind(), ResourceKind::kImage);
  EXPECT_EQ(table.Find(3)->state(), LoadableResource::kIdle);
  ASSERT_NE(table.Find(1), nullptr);
  EXPECT_EQ(table.Find(1)->state(), LoadableResource::kDone);  // sounds load when created
  EXPECT_EQ(table.Find(2), nullptr);
  ASSERT_NE(table.Find(4), nullptr);
  EXPECT_EQ(table.Find(4)->Kind(), ResourceKind::kDocument);
  EXPECT_FALSE(table.Find(4)->load_flag());
  EXPECT_TRUE(provider.opened.empty());  // nothing is fetched before the loader starts it
}

TEST_F(DocumentBuildTest, TablesComeFromTheRecords) {
  DocumentFile file;
  file.label_names.items = {{1000, Name("default")}, {1001, Name("default")}, {3, Name("end")}};
  file.properties.items = {{Name("k"), Name("v")}, {Name("k"), Name("w")}};
  VariableRecord ranged;
  ranged.id = 9;
  ranged.maximum = 10;
  ranged.clamp_low = ranged.clamp_high = ranged.wrap = true;
  ranged.initial = 25;
  file.variables.items = {ranged};
  ASSERT_TRUE(Build(std::move(file)));

  EXPECT_EQ(document.label_names().size(), 2u);
  EXPECT_EQ(document.label_names().Find(Sjis("default")), 1000);
  ASSERT_NE(document.property_list(), nullptr);
  EXPECT_EQ(document.property_list()->size(), 2u);
  EXPECT_EQ(document.variables().Find(9)->value(), 5);

  document.Clear();
  EXPECT_EQ(document.label_names().size(), 0u);
  EXPECT_EQ(document.property_list(), nullptr);
  EXPECT_EQ(document.header().stage_width, 200.0f);
}

TEST_F(DocumentBuildTest, JumpRequestsAreQueuedOnce) {
  document.RequestLabel(4);
  document.RequestLabel(-1);
  document.RequestLabel(2);
  document.RequestLabel(4);
  EXPECT_EQ(document.queued_labels(), (std::vector<int32_t>{4, 2}));
  EXPECT_EQ(document.TakeQueuedLabels().size(), 2u);
  EXPECT_TRUE(document.queued_labels().empty());
}

TEST(ResourceRecord, UnknownKindIsMalformedAtItsOffset) {
  ByteWriter out;
  out.Short(1);
  out.Short(5);
  out.Byte(1);
  out.Byte(3);  // no such kind
  testing::WriteNarrowText(out, "x");
  const std::vector<uint8_t> bytes = out.Take();
  BufferReader reader(bytes);
  ReadVisitor visitor(reader);
  CountedList<ResourceRecord> list;
  visitor.List("resources", list);
  EXPECT_FALSE(visitor.ok());
  EXPECT_NE(visitor.error().find("unknown resource kind 3"), std::string::npos) << visitor.error();
  EXPECT_EQ(visitor.error_offset(), 6u);
}

TEST(DocumentFile, ForeignVersionKeepsTheRestForWritingBack) {
  testing::TestDocument doc;
  doc.version = 20090131;
  const std::vector<uint8_t> bytes = doc.Bytes();
  DocumentFile file;
  BufferReader reader(bytes);
  ReadVisitor visitor(reader);
  file.Visit(visitor);
  ASSERT_TRUE(visitor.ok()) << visitor.error();
  EXPECT_FALSE(file.recognised());
  EXPECT_EQ(file.trailing.size(), bytes.size() - 8);

  ByteWriter out;
  WriteVisitor writer(out);
  file.Visit(writer);
  EXPECT_EQ(out.bytes(), bytes);
}

TEST(DocumentFile, WholeDocumentWritesBackByteForByte) {
  testing::TestDocument doc;
  doc.node_names = true;
  doc.variables = {1, 0, 1, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  doc.resources = {{1, true, 0, "a.png"}, {2, false, 2, "b.cva"}, {3, true, 1, "c.wav"}};
  doc.labels = {{1000, "default"}};
  doc.trailing = {0xDE, 0xAD};
  const std::vector<uint8_t> bytes = doc.Bytes();
  DocumentFile file;
  BufferReader reader(bytes);
  ReadVisitor visitor(reader);
  file.Visit(visitor);
  ASSERT_TRUE(visitor.ok()) << visitor.error();
  EXPECT_EQ(file.header.stage_width, 320.0f);
  EXPECT_EQ(file.header.background.blue, 30);
  EXPECT_EQ(file.resources.size(), 3u);
  EXPECT_EQ(file.trailing, (std::vector<uint8_t>{0xDE, 0xAD}));

  ByteWriter out;
  WriteVisitor writer(out);
  file.Visit(writer);
  EXPECT_EQ(out.bytes(), bytes);
}

TEST(DocumentFile, HeaderWithoutPropertyListIsFollowedByTheResources) {
  testing::TestDocument doc;
  doc.property_list = false;
  doc.resources = {{1, true, 0, "a.png"}};
  const std::vector<uint8_t> bytes = doc.Bytes();
  DocumentFile file;
  BufferReader reader(bytes);
  ReadVisitor visitor(reader);
  file.Visit(visitor);
  ASSERT_TRUE(visitor.ok()) << visitor.error();
  ASSERT_EQ(file.resources.size(), 1u);
  EXPECT_EQ(file.resources[0].name.Decoded(), Sjis("a.png"));
}

}  // namespace
}  // namespace cva
