#include "scene/node_record.h"

#include <gtest/gtest.h>

#include "scene_bytes.h"
#include "scene_tree_bytes.h"

namespace cva {
namespace {

using testing::ExpectRoundTrip;
using testing::NodeSpec;
using testing::ReadRecord;
using testing::SampleTree;
using testing::WriteNode;

std::vector<uint8_t> TreeBytes(const NodeSpec& root, bool names) {
  ByteWriter out;
  WriteNode(out, root, names);
  return out.Take();
}

TEST(NodeRecord, TreeWithNodeNamesReadsEveryNodeInPlace) {
  const NodeRecord root = ExpectRoundTrip<NodeRecord>(TreeBytes(SampleTree(), true), true);
  EXPECT_EQ(root.id, 1);
  EXPECT_EQ(root.name.Decoded(), EncodedText::FromNarrow("root"));
  EXPECT_EQ(root.object, -1);
  ASSERT_EQ(root.labels.size(), 1u);
  EXPECT_EQ(root.labels[0].label, 1000);
  ASSERT_EQ(root.children.size(), 2u);

  const NodeRecord& first = root.children[0];
  EXPECT_EQ(first.id, 2);
  EXPECT_EQ(first.name.Decoded(), EncodedText::FromNarrow("first"));
  EXPECT_EQ(first.object, 5);
  EXPECT_TRUE(first.inactive.on());
  ASSERT_EQ(first.labels.size(), 2u);
  EXPECT_EQ(first.labels[1].label, 2000);
  ASSERT_EQ(first.labels[0].motions.size(), 2u);
  EXPECT_EQ(first.labels[0].motions[0].key, 0);
  EXPECT_EQ(first.labels[0].motions[1].key, 7);
  EXPECT_EQ(first.labels[0].motions[1].motion.property, 7);
  ASSERT_EQ(first.children.size(), 1u);
  EXPECT_EQ(first.children[0].id, 4);
  EXPECT_EQ(first.children[0].name.Decoded(), EncodedText::FromNarrow("grandchild"));

  const NodeRecord& second = root.children[1];
  EXPECT_EQ(second.id, 3);
  EXPECT_TRUE(second.has_controller.on());
  EXPECT_TRUE(second.children.empty());
}

TEST(NodeRecord, TreeWithoutNodeNamesHasNoNameFields) {
  const std::vector<uint8_t> bytes = TreeBytes(SampleTree(), false);
  EXPECT_LT(bytes.size(), TreeBytes(SampleTree(), true).size());
  const NodeRecord root = ExpectRoundTrip<NodeRecord>(bytes, false);
  EXPECT_EQ(root.name.length, 0);
  ASSERT_EQ(root.children.size(), 2u);
  EXPECT_EQ(root.children[0].object, 5);
  EXPECT_EQ(root.children[0].children[0].id, 4);

  // The same bytes read as a document with names go wrong: the id is followed by a text.
  NodeRecord misread;
  EXPECT_FALSE(ReadRecord(bytes, misread, true).ok && misread.children.size() == 2);
}

TEST(NodeRecord, OnlyAControllerByteOfOneIsFollowedByAController) {
  NodeSpec node;
  node.controller = 2;  // not a boolean true: no controller record follows
  const NodeRecord record = ExpectRoundTrip<NodeRecord>(TreeBytes(node, false));
  EXPECT_FALSE(record.has_controller.on());
  EXPECT_EQ(record.has_controller.raw, 2);
}

TEST(NodeRecord, NegativeCountsMeanEmptyAndAreKept) {
  NodeSpec node;
  node.label_count = -2;
  node.child_count = -1;
  const NodeRecord record = ExpectRoundTrip<NodeRecord>(TreeBytes(node, false));
  EXPECT_TRUE(record.labels.empty());
  EXPECT_TRUE(record.children.empty());
}

TEST(NodeRecord, EveryTruncationFailsWithinTheData) {
  const std::vector<uint8_t> bytes = TreeBytes(SampleTree(), true);
  for (size_t size = 0; size < bytes.size(); ++size) {
    const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<long>(size));
    NodeRecord record;
    const testing::ReadResult result = ReadRecord(cut, record, true);
    EXPECT_FALSE(result.ok) << "cut at " << size;
    EXPECT_LE(result.error_offset, size) << "cut at " << size;
  }
}

TEST(NodeRecord, ChildCountBeyondTheDataStopsAtTheEnd) {
  ByteWriter out;
  out.Short(1);   // id
  out.Short(-1);  // object
  out.Byte(0);
  out.Byte(0);
  out.Short(0);
  out.Short(32767);  // children announced, none present
  NodeRecord record;
  EXPECT_FALSE(ReadRecord(out.Take(), record).ok);
  EXPECT_LE(record.children.size(), 1u);
}

TEST(NodeRecord, NestingBeyondTheReaderLimitFailsInsteadOfRecursing) {
  // Each node holds one child: 300 levels of "id, object, flags, no labels, one child".
  ByteWriter out;
  for (int level = 0; level < 300; ++level) {
    out.Short(static_cast<int16_t>(level));
    out.Short(-1);
    out.Byte(0);
    out.Byte(0);
    out.Short(0);
    out.Short(1);
  }
  NodeRecord record;
  const testing::ReadResult result = ReadRecord(out.Take(), record);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("nesting deeper"), std::string::npos) << result.error;
}

}  // namespace
}  // namespace cva
