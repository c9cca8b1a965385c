#include <gtest/gtest.h>

#include <vector>

#include "stream/buffer_reader.h"
#include "stream/byte_writer.h"
#include "stream/memory_reader.h"
#include "stream/read_visitor.h"
#include "stream/text_conversion.h"
#include "stream/write_visitor.h"

namespace cva {
namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> v) {
  std::vector<uint8_t> out;
  for (int b : v) out.push_back(static_cast<uint8_t>(b));
  return out;
}

TEST(StreamReader, TypedReadsAreLittleEndianAndSigned) {
  const auto data = Bytes({2, 1, 0,    0xFF, 0xFF, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12,
                           0, 0, 0x48, 0x43, 0,    0,    0xC8, 0x42, 0x00, 0x80});
  MemoryReader r(data);
  EXPECT_FALSE(r.ReadBool());  // only exactly 1 is true
  EXPECT_TRUE(r.ReadBool());
  EXPECT_FALSE(r.ReadBool());
  EXPECT_EQ(r.ReadShort(), -1);
  EXPECT_EQ(r.ReadShort(), 0x1234);
  EXPECT_EQ(r.ReadInt(), 0x12345678);
  EXPECT_EQ(r.ReadFloat(), 200.0f);
  EXPECT_EQ(r.ReadFloat(), 100.0f);
  EXPECT_EQ(r.ReadShort(), -32768);
  EXPECT_FALSE(r.failed());
  EXPECT_EQ(r.remaining(), 0u);
}

TEST(StreamReader, ReadPastEndYieldsZeroAndStaysFailed) {
  const auto data = Bytes({0x11, 0x22, 0x33});
  BufferReader r(data);
  EXPECT_EQ(r.ReadInt(), 0x332211);  // the missing high byte reads as 0
  EXPECT_TRUE(r.failed());
  EXPECT_EQ(r.ReadByte(), 0);
  EXPECT_TRUE(r.failed());
  EXPECT_EQ(r.position(), 3u);

  MemoryReader none(nullptr, 100);  // a missing range reads as empty, whatever size is given
  EXPECT_EQ(none.ReadByte(), 0);
  EXPECT_TRUE(none.failed());
}

TEST(EncodedText, TerminatorRuleAndEquality) {
  const auto word = Bytes({'d', 'e', 'f', 'a', 'u', 'l', 't'});
  const EncodedText sjis(EncodedText::kShiftJis, word);
  EXPECT_EQ(sjis.bytes().size(), 8u);
  EXPECT_EQ(sjis, EncodedText::FromNarrow("default"));
  // A stored terminator is not doubled.
  auto terminated = word;
  terminated.push_back(0);
  EXPECT_EQ(EncodedText(EncodedText::kShiftJis, terminated), sjis);

  // The same word in UTF-16 is a different name.
  const EncodedText wide = EncodedText::FromUtf16(u"default");
  EXPECT_EQ(wide.bytes().size(), 16u);
  EXPECT_NE(wide, sjis);
  const auto wide_terminated = Bytes({'a', 0, 0, 0});
  EXPECT_EQ(EncodedText(EncodedText::kUtf16, wide_terminated).bytes().size(), 4u);
  // One byte is too short to hold a UTF-16 terminator.
  EXPECT_EQ(EncodedText(EncodedText::kUtf16, Bytes({0})).bytes(), Bytes({0, 0, 0}));
  // Other encodings are carried without a terminator; empty data always gets two zeros.
  EXPECT_EQ(EncodedText(7, Bytes({1, 2})).bytes(), Bytes({1, 2}));
  EXPECT_EQ(EncodedText(7, {}).bytes(), Bytes({0, 0}));

  // The empty value read from data differs from a text built from an empty string.
  EXPECT_TRUE(EncodedText().bytes().empty());
  EXPECT_NE(EncodedText(), EncodedText::FromNarrow(""));
}

TEST(StreamReader, ReadText) {
  const auto data = Bytes({7,    0,    1, 'd', 'e', 'f', 'a', 'u', 'l', 't',  // Shift-JIS
                           0xFF, 0xFF,                                        // negative: empty
                           4,    0,    0, 'a', 0,   0,   0,                   // UTF-16, terminated
                           3,    0,    0, 'x', 0,   'y'});                    // odd UTF-16
  MemoryReader r(data);
  EXPECT_EQ(r.ReadText(), EncodedText::FromNarrow("default"));
  EXPECT_EQ(r.ReadText(), EncodedText());
  EXPECT_EQ(r.position(), 12u);  // the negative length consumed two bytes only
  EXPECT_EQ(r.ReadText(), EncodedText::FromUtf16(u"a"));
  const EncodedText odd = r.ReadText();
  EXPECT_EQ(odd.bytes(), Bytes({'x', 0, 'y', 0, 0}));
  EXPECT_EQ(odd.Utf16Units(), u"xy");  // the odd byte pairs with the added terminator
  EXPECT_FALSE(r.failed());

  // A length running past the end stops at the end and fails.
  const auto cut = Bytes({100, 0, 1, 'a', 'b'});
  MemoryReader c(cut);
  EXPECT_EQ(c.ReadText().bytes(), Bytes({'a', 'b', 0}));
  EXPECT_TRUE(c.failed());
}

TEST(TextConversion, NarrowAndUtf8) {
  // "画像" in code page 932 and UTF-16.
  const EncodedText sjis(EncodedText::kShiftJis, Bytes({0x89, 0xE6, 0x91, 0x9C}));
  const EncodedText wide = EncodedText::FromUtf16(u"画像");
  EXPECT_EQ(ToNarrow(wide), "\x89\xE6\x91\x9C");
  EXPECT_EQ(ToNarrow(sjis), "\x89\xE6\x91\x9C");
  EXPECT_EQ(ToUtf8(sjis), "画像");
  EXPECT_EQ(ToUtf8(wide), "画像");
  EXPECT_EQ(ToNarrow(EncodedText(5, Bytes({'a'}))), "");
  // The full-width space is the pair 0x81 0x40.
  EXPECT_EQ(ToUtf8(EncodedText(EncodedText::kShiftJis, Bytes({0x81, 0x40}))), "\u3000");
}

struct Sample {
  Flag flag;
  int16_t count = 0;
  StoredText name;
  CountedList<Sample> children;
  template <class V>
  void Visit(V& v) {
    v.Flag("flag", flag);
    v.Short("count", count);
    v.Text("name", name);
    v.List("children", children);
  }
};

TEST(RecordVisitors, ReadThenWriteIsByteIdentical) {
  ByteWriter w;
  w.Byte(2);  // a "false" kept as 2
  w.Short(-3);
  w.Short(3);
  w.Byte(1);
  w.Bytes(Bytes({'a', 'b', 0}));  // stored terminator kept
  w.Short(1);                     // one child
  w.Byte(1);
  w.Short(5);
  w.Short(0);
  w.Short(-2);  // an unusual empty count
  const std::vector<uint8_t> original = w.bytes();

  BufferReader reader(original);
  ReadVisitor in(reader);
  Sample s;
  s.Visit(in);
  ASSERT_TRUE(in.ok()) << in.error();
  EXPECT_FALSE(s.flag.on());
  ASSERT_EQ(s.children.size(), 1u);
  EXPECT_TRUE(s.children[0].flag.on());
  EXPECT_EQ(s.name.Decoded(), EncodedText::FromNarrow("ab"));

  ByteWriter again;
  WriteVisitor out(again);
  s.Visit(out);
  EXPECT_EQ(again.bytes(), original);

  // Cutting the data anywhere fails with the offset and the field.
  for (size_t cut = 0; cut < original.size(); ++cut) {
    std::vector<uint8_t> part(original.begin(), original.begin() + cut);
    BufferReader r(part);
    ReadVisitor v(r);
    Sample t;
    t.Visit(v);
    EXPECT_FALSE(v.ok()) << cut;
    EXPECT_LE(v.error_offset(), cut);
  }
  std::vector<uint8_t> part(original.begin(), original.begin() + 12);
  BufferReader r(part);
  ReadVisitor v(r);
  Sample t;
  t.Visit(v);
  EXPECT_EQ(v.error(), "unexpected end of data reading 'count' in children[0]");
  EXPECT_EQ(v.error_offset(), 12u);
}

TEST(RecordVisitors, DeepNestingIsRejectedNotRecursed) {
  ByteWriter w;
  for (int i = 0; i < 100000; ++i) {  // far deeper than any stack would survive
    w.Byte(0);
    w.Short(0);
    w.Short(0);
    w.Short(1);
  }
  BufferReader reader(w.bytes());
  ReadVisitor in(reader);
  Sample s;
  s.Visit(in);
  EXPECT_FALSE(in.ok());
  EXPECT_NE(in.error().find("nesting deeper"), std::string::npos);
  // Release iteratively: the default destructor of a deep tree would recurse too.
  std::vector<Sample> pending;
  pending.push_back(std::move(s));
  while (!pending.empty()) {
    Sample n = std::move(pending.back());
    pending.pop_back();
    for (Sample& c : n.children.items) pending.push_back(std::move(c));
  }
}

}  // namespace
}  // namespace cva
