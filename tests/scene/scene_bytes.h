#pragma once

// Builds scene records byte by byte for tests, independently of the records under test, and
// reads and writes records through the visitors.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "stream/byte_writer.h"
#include "stream/memory_reader.h"
#include "stream/read_visitor.h"
#include "stream/write_visitor.h"

namespace cva::testing {

inline void WriteSjisText(ByteWriter& out, const std::string& text) {
  out.Short(static_cast<int16_t>(text.size()));
  if (text.empty()) return;
  out.Byte(1);
  for (char c : text) out.Byte(static_cast<uint8_t>(c));
}

inline void WriteFloats(ByteWriter& out, std::initializer_list<float> values) {
  for (float f : values) out.Float(f);
}

struct ReadResult {
  bool ok = false;
  bool all_consumed = false;
  std::string error;
  uint32_t error_offset = 0;
};

// Reads `record` from `bytes` as the record of a document whose node-names flag is `names`.
template <class R>
ReadResult ReadRecord(const std::vector<uint8_t>& bytes, R& record, bool names = false) {
  MemoryReader reader(bytes);
  ReadVisitor visitor(reader);
  visitor.context().node_names = names;
  visitor.Record("record", record);
  return {visitor.ok(), reader.remaining() == 0, visitor.error(), visitor.error_offset()};
}

template <class R>
std::vector<uint8_t> WriteRecord(R& record, bool names = false) {
  ByteWriter out;
  WriteVisitor visitor(out);
  visitor.context().node_names = names;
  visitor.Record("record", record);
  EXPECT_TRUE(visitor.ok()) << visitor.error();
  return out.Take();
}

// Reads `bytes` into a fresh record, expects every byte used, and expects the record to write
// back to the same bytes. Returns the record for further checks.
template <class R>
R ExpectRoundTrip(const std::vector<uint8_t>& bytes, bool names = false) {
  R record;
  const ReadResult result = ReadRecord(bytes, record, names);
  EXPECT_TRUE(result.ok) << result.error << " at " << result.error_offset;
  EXPECT_TRUE(result.all_consumed);
  EXPECT_EQ(WriteRecord(record, names), bytes);
  return record;
}

// The fields of a keyframe record before its value, in stored order.
struct KeyHead {
  std::string label;
  int16_t label_index = 0;  // written only with a label
  int16_t duration = 0;
  uint8_t instant = 0;
  uint8_t jump = 0;
  uint8_t inheritance = 0;
  uint8_t property = 0;
  int16_t loop_count = 0;
  int32_t loop_back_frames = 0;
};

inline void WriteKeyHead(ByteWriter& out, const KeyHead& key) {
  WriteSjisText(out, key.label);
  if (!key.label.empty()) out.Short(key.label_index);
  out.Short(key.duration);
  out.Byte(key.instant);
  out.Byte(key.jump);
  out.Byte(key.inheritance);
  out.Byte(key.property);
  out.Short(key.loop_count);
  out.Int(key.loop_back_frames);
}

// A keyframe of property 0 (depth) with no ease points.
inline void WriteDepthKey(ByteWriter& out, KeyHead key, int32_t depth) {
  key.property = 0;
  WriteKeyHead(out, key);
  out.Int(depth);
  out.Byte(0);  // no ease points
}

}  // namespace cva::testing
