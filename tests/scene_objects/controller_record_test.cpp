// Controller records: handler trees with their conditions, actions, else branches and every
// operand type, read from hand-built bytes and written back unchanged.

#include <gtest/gtest.h>

#include "record_io.h"
#include "scene/controller_record.h"

namespace cva::testing {
namespace {

void PutOperand(ByteWriter& out, uint8_t type, uint8_t mode) {
  out.Byte(type);
  out.Byte(mode);
  switch (type) {
    case 1:
    case 2:
    case 3:
    case 4:
      out.Int(type * 1000);
      break;
    case 5:
      PutText(out, 1, {'p', 'o', 's'});
      break;
    case 6:
    case 7:
      out.Int(-type);
      PutText(out, 0, {'h', 0, 'i', 0, 0, 0});  // with its stored terminator
      break;
    case 8:
      out.Byte(7);
      out.Int(2);
      break;
    case 9:
      out.Int(1000);
      out.Int(1);
      break;
    case 10:
    case 12:
      out.Byte(2);
      out.Short(-9);
      break;
    case 11:
      out.Byte(1);
      out.Short(3);
      out.Int(0x10);
      break;
  }
}

// A handler record: the enabled byte as given, then operands of the given types.
void PutHandler(ByteWriter& out, uint8_t enabled, const std::vector<uint8_t>& operand_types) {
  out.Byte(enabled);
  out.Int(static_cast<int32_t>(operand_types.size()));
  for (size_t i = 0; i < operand_types.size(); ++i)
    PutOperand(out, operand_types[i], static_cast<uint8_t>(i == 1 ? 9 : 0));
}

void PutEmptyNode(ByteWriter& out) {
  out.Short(0);
  out.Short(0);
  out.Byte(1);  // no else branch
}

std::vector<uint8_t> ControllerBytes() {
  ByteWriter out;
  out.Short(1);  // variables: one plain variable
  out.Byte(1);
  out.Short(3);
  out.Byte(0);
  out.Int(5);
  out.Int(99);
  out.Short(1);  // named handlers
  out.Short(40);
  PutEmptyNode(out);
  // Root: two children, one condition, no else branch (marker 5).
  out.Short(2);
  out.Byte(3);  // an action
  out.Byte(0);
  PutHandler(out, 2, {1});  // a flag byte of 2 is kept as it is
  out.Byte(0);              // a nested node with an else branch
  out.Short(0);
  out.Short(1);
  out.Byte(9);
  PutHandler(out, 1, {10, 2});
  out.Byte(0);
  PutEmptyNode(out);
  out.Short(1);  // the root's condition
  out.Byte(7);
  PutHandler(out, 1, {11});
  out.Byte(5);
  return out.Take();
}

TEST(ControllerRecord, ReadsTheHandlerTreeInPlace) {
  const ControllerRecord record = ExpectRoundTrip<ControllerRecord>(ControllerBytes());
  ASSERT_EQ(record.variables.size(), 1u);
  EXPECT_EQ(record.variables[0].id, 3);
  ASSERT_EQ(record.named_handlers.size(), 1u);
  EXPECT_EQ(record.named_handlers[0].key, 40);

  const HandlerNodeRecord& root = record.root;
  ASSERT_EQ(root.children.size(), 2u);
  EXPECT_EQ(root.children[0].kind, 3);
  EXPECT_EQ(root.children[0].handler.enabled.raw, 2);
  EXPECT_FALSE(root.children[0].handler.enabled.on());
  ASSERT_EQ(root.children[0].handler.operands.size(), 1u);
  EXPECT_EQ(root.children[0].handler.operands[0].value, 1000);

  ASSERT_TRUE(root.children[1].node);
  const HandlerNodeRecord& nested = *root.children[1].node;
  ASSERT_EQ(nested.conditions.size(), 1u);
  EXPECT_EQ(nested.conditions[0].condition, 9);
  const auto& operands = nested.conditions[0].handler.operands;
  ASSERT_EQ(operands.size(), 2u);
  EXPECT_EQ(operands[0].variable, (VariableRefRecord{2, -9}));
  EXPECT_EQ(operands[1].mode, 9);  // the comparison's operator code
  EXPECT_EQ(operands[1].value, 2000);
  ASSERT_TRUE(nested.else_node);
  EXPECT_TRUE(nested.else_node->children.empty());

  ASSERT_EQ(root.conditions.size(), 1u);
  EXPECT_EQ(root.conditions[0].handler.operands[0].variable, (VariableRefRecord{1, 3}));
  EXPECT_EQ(root.conditions[0].handler.operands[0].mask, 0x10);
  EXPECT_EQ(root.else_marker, 5);
  EXPECT_FALSE(root.else_node);
}

TEST(ControllerRecord, EveryOperandTypeRoundTripsWithItsFields) {
  ByteWriter out;
  PutHandler(out, 1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
  const std::vector<uint8_t> bytes = out.Take();
  const HandlerRecord handler = ExpectRoundTrip<HandlerRecord>(bytes);
  ASSERT_EQ(handler.operands.size(), 12u);
  EXPECT_EQ(handler.operands[4].text.Decoded(), EncodedText::FromNarrow("pos"));
  EXPECT_EQ(handler.operands[5].value, -6);
  EXPECT_EQ(handler.operands[5].text.Decoded(), EncodedText::FromUtf16(u"hi"));
  EXPECT_EQ(handler.operands[7].property, 7);
  EXPECT_EQ(handler.operands[7].component, 2);
  EXPECT_EQ(handler.operands[8].label, 1000);
  EXPECT_EQ(handler.operands[8].component, 1);
  EXPECT_EQ(handler.operands[11].variable, (VariableRefRecord{2, -9}));
  ExpectEveryTruncationFails<HandlerRecord>(bytes);
}

TEST(ControllerRecord, EveryTruncationFails) {
  ExpectEveryTruncationFails<ControllerRecord>(ControllerBytes());
}

TEST(ControllerRecord, CopiesAreDeep) {
  ControllerRecord record;
  ASSERT_TRUE(ReadRecord(ControllerBytes(), record).ok);
  ControllerRecord copy = record;
  record.root.children[1].node->else_node->else_marker = 3;
  EXPECT_EQ(copy.root.children[1].node->else_node->else_marker, 1);
  EXPECT_EQ(WriteRecord(copy), ControllerBytes());
}

TEST(ControllerRecord, UnknownChildKindsAndOperandTypesAreMalformed) {
  for (uint8_t kind : {1, 2, 4, 255}) {
    ByteWriter out;
    out.Short(1);
    out.Byte(kind);
    out.Byte(0);
    PutHandler(out, 1, {});
    out.Short(0);
    out.Byte(1);
    HandlerNodeRecord node;
    const ReadResult result = ReadRecord(out.Take(), node);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("unknown handler child kind " + std::to_string(kind)),
              std::string::npos)
        << result.error;
    EXPECT_EQ(result.error_offset, 3u);
  }
  for (uint8_t type : {0, 13}) {
    ByteWriter out;
    out.Byte(1);
    out.Int(2);
    PutOperand(out, 1, 0);
    out.Byte(type);
    out.Byte(0);
    out.Int(0);
    HandlerRecord handler;
    const ReadResult result = ReadRecord(out.Take(), handler);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("unknown operand type " + std::to_string(type)), std::string::npos)
        << result.error;
    EXPECT_EQ(result.error_offset, 1u + 4u + 6u + 1u);
  }
}

TEST(ControllerRecord, DeepHandlerTreesAndElseChainsAreRefused) {
  ByteWriter nested;
  for (int i = 0; i < 100000; ++i) {
    nested.Short(1);
    nested.Byte(0);
  }
  ByteWriter chain;
  for (int i = 0; i < 100000; ++i) {
    chain.Short(0);
    chain.Short(0);
    chain.Byte(0);
  }
  for (const ByteWriter* out : {&nested, &chain}) {
    HandlerNodeRecord node;
    const ReadResult result = ReadRecord(out->bytes(), node);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("nesting deeper than"), std::string::npos) << result.error;
  }
}

TEST(ControllerRecord, AHugeOperandCountInShortDataFailsAtItsEnd) {
  ByteWriter out;
  out.Byte(1);
  out.Int(0x7FFFFFFF);
  PutOperand(out, 1, 0);
  const std::vector<uint8_t> bytes = out.Take();
  HandlerRecord handler;
  const ReadResult result = ReadRecord(bytes, handler);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error_offset, bytes.size());
  EXPECT_EQ(handler.operands.size(), 2u);  // the one present, and the one cut off
}

TEST(ControllerRecord, NegativeOperandCountIsEmptyAndKept) {
  ByteWriter out;
  out.Byte(0);
  out.Int(-4);
  const HandlerRecord handler = ExpectRoundTrip<HandlerRecord>(out.Take());
  EXPECT_TRUE(handler.operands.empty());
}

}  // namespace
}  // namespace cva::testing
