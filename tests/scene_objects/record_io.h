#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "stream/buffer_reader.h"
#include "stream/byte_writer.h"
#include "stream/read_visitor.h"
#include "stream/write_visitor.h"

namespace cva::testing {

struct ReadResult {
  bool ok = false;
  std::string error;
  uint32_t error_offset = 0;
  uint32_t remaining = 0;  // bytes left unread
};

template <class R>
ReadResult ReadRecord(const std::vector<uint8_t>& bytes, R& record) {
  BufferReader reader(bytes);
  ReadVisitor visitor(reader);
  visitor.Record("record", record);
  return {visitor.ok(), visitor.error(), visitor.error_offset(), reader.remaining()};
}

template <class R>
std::vector<uint8_t> WriteRecord(R& record) {
  ByteWriter out;
  WriteVisitor visitor(out);
  visitor.Record("record", record);
  EXPECT_TRUE(visitor.ok()) << visitor.error();
  return out.Take();
}

// Reads `bytes` as an R that uses all of them, and writes it back byte for byte.
template <class R>
R ExpectRoundTrip(const std::vector<uint8_t>& bytes) {
  R record;
  const ReadResult result = ReadRecord(bytes, record);
  EXPECT_TRUE(result.ok) << result.error << " at " << result.error_offset;
  EXPECT_EQ(result.remaining, 0u);
  EXPECT_EQ(WriteRecord(record), bytes);
  return record;
}

// Every proper prefix of a valid record fails to read, within the prefix.
template <class R>
void ExpectEveryTruncationFails(const std::vector<uint8_t>& bytes) {
  for (size_t n = 0; n < bytes.size(); ++n) {
    std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + n);
    R record;
    const ReadResult result = ReadRecord(prefix, record);
    EXPECT_FALSE(result.ok) << "prefix of " << n << " bytes read as complete";
    EXPECT_LE(result.error_offset, n);
  }
}

// Writes a stored text: length, encoding and bytes.
inline void PutText(ByteWriter& out, uint8_t encoding, const std::vector<uint8_t>& bytes) {
  out.Short(static_cast<int16_t>(bytes.size()));
  if (bytes.empty()) return;
  out.Byte(encoding);
  out.Bytes(bytes);
}

inline void PutColour(ByteWriter& out, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  out.Byte(r);
  out.Byte(g);
  out.Byte(b);
  out.Byte(a);
}

inline void PutVec2(ByteWriter& out, float x, float y) {
  out.Float(x);
  out.Float(y);
}

}  // namespace cva::testing
