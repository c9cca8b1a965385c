#include "document/variable.h"

#include <gtest/gtest.h>

#include <limits>

#include "document/variable_table.h"
#include "stream/buffer_reader.h"
#include "stream/byte_writer.h"
#include "stream/read_visitor.h"
#include "stream/write_visitor.h"

namespace cva {
namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

VariableRange Wrapping(int32_t lo, int32_t hi) {
  return {lo, hi, true, true, true};
}

TEST(VariableRange, WrapsWithTheSignOfTheNumber) {
  const VariableRange r = Wrapping(0, 10);
  EXPECT_EQ(r.Apply(25), 5);
  EXPECT_EQ(r.Apply(10), 0);
  EXPECT_EQ(r.Apply(9), 9);
  EXPECT_EQ(r.Apply(-3), -3);
  EXPECT_EQ(r.Apply(-25), -5);
  EXPECT_EQ(Wrapping(100, 110).Apply(25), 105);
  EXPECT_EQ(Wrapping(7, 7).Apply(12345), 7);
}

TEST(VariableRange, ClampsWhenNotWrapping) {
  EXPECT_EQ((VariableRange{0, 10, true, true, false}).Apply(25), 10);
  EXPECT_EQ((VariableRange{0, 10, true, true, false}).Apply(-4), 0);
  EXPECT_EQ((VariableRange{0, 10, true, false, false}).Apply(25), 25);
  EXPECT_EQ((VariableRange{0, 10, false, true, false}).Apply(-4), -4);
  EXPECT_EQ((VariableRange{0, 10, false, false, false}).Apply(99), 99);
  // Wrap needs both clamps; with clamp-high alone it only clamps.
  EXPECT_EQ((VariableRange{0, 10, false, true, true}).Apply(25), 10);
  EXPECT_EQ((VariableRange{0, 10, true, false, true}).Apply(25), 25);
}

TEST(VariableRange, ExtremeInputsStayDefined) {
  // Span of -1 with the most negative number would trap in 32-bit division.
  EXPECT_EQ(Wrapping(5, 4).Apply(kMin), 5);
  EXPECT_EQ(Wrapping(kMin, kMax).Apply(kMax), -1);
  EXPECT_EQ(Wrapping(kMin, kMax).Apply(-5), kMin);  // below the 32-bit range: saturates
  EXPECT_EQ(Wrapping(kMax, kMin).Apply(kMin), -1);
  EXPECT_EQ(Wrapping(kMax, kMin).Apply(kMax), kMax);  // above the 32-bit range: saturates
  EXPECT_EQ(Wrapping(kMax, kMin).Apply(5), kMax);     // above the 32-bit range: saturates
  EXPECT_EQ(Wrapping(10, 0).Apply(25), 15);           // reversed limits
  EXPECT_EQ(Wrapping(0, kMax).Apply(kMin), -1);
  EXPECT_EQ((VariableRange{kMin, kMax, true, true, false}).Apply(kMin), kMin);
  EXPECT_EQ((VariableRange{kMax, kMin, true, true, false}).Apply(0), kMin);
}

TEST(Variable, RecordsBuildPlainAndRangedVariables) {
  ByteWriter out;
  out.Short(2);
  out.Byte(1);  // plain
  out.Short(3);
  out.Byte(2);  // flag byte kept as stored
  out.Int(42);
  out.Int(-1);  // stored value, replaced by the initial one
  out.Byte(2);  // 2 is not true: ranged
  out.Short(4);
  out.Int(0);
  out.Int(10);
  out.Byte(1);
  out.Byte(1);
  out.Int(25);
  out.Byte(1);
  const std::vector<uint8_t> bytes = out.Take();

  CountedList<VariableRecord> records;
  BufferReader reader(bytes);
  ReadVisitor visitor(reader);
  visitor.List("variables", records);
  ASSERT_TRUE(visitor.ok()) << visitor.error();
  ASSERT_EQ(records.size(), 2u);

  const Variable plain = Variable::FromRecord(records[0]);
  EXPECT_FALSE(plain.ranged());
  EXPECT_EQ(plain.value(), 42);
  const Variable ranged = Variable::FromRecord(records[1]);
  EXPECT_TRUE(ranged.ranged());
  EXPECT_EQ(ranged.value(), 5);

  ByteWriter back;
  WriteVisitor writer(back);
  writer.List("variables", records);
  EXPECT_EQ(back.bytes(), bytes);
}

TEST(Variable, SettingFollowsTheKind) {
  Variable plain = Variable::Plain(1);
  plain.Set(kMin);
  EXPECT_EQ(plain.value(), kMin);
  Variable ranged = Variable::Ranged({0, 10, true, true, false}, 25);
  EXPECT_EQ(ranged.value(), 10);
  ranged.Set(-7);
  EXPECT_EQ(ranged.value(), 0);

  VariableTable table;
  EXPECT_TRUE(table.Add(1, Variable::Plain(1)));
  EXPECT_FALSE(table.Add(1, Variable::Plain(2)));
  EXPECT_EQ(table.Find(1)->value(), 1);
  EXPECT_EQ(table.Find(2), nullptr);
}

}  // namespace
}  // namespace cva
