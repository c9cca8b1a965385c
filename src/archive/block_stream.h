#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "archive/input_stream.h"

namespace cva {

// The framing of one archive member: blocks of at most 65535 bytes, each
//   stored:     'Z' 'V' 0, U (16-bit big-endian), U raw bytes
//   compressed: 'Z' 'V' 1, C (16-bit big-endian), U (16-bit big-endian), C bytes of LZF data
// ending at a zero byte or at the end of the data.
inline constexpr uint32_t kMaxBlockSize = 65535;

// One byte of LZF data expands to at most 88 bytes (a three-byte back reference copies at
// most 264 bytes), so a compressed block can never honestly claim more than this.
inline constexpr uint32_t kMaxLzfExpansion = 88;

// The largest member the reader accepts: documents are addressed with 32-bit positions.
inline constexpr uint64_t kMaxMemberSize = 0x7FFFFFFF;

struct BlockStreamInfo {
  uint64_t size = 0;    // sum of the blocks' uncompressed lengths
  uint32_t blocks = 0;  // number of blocks
};

// Reads only the block headers from the current position and sums the uncompressed lengths.
// Empty on a malformed stream: bad magic, unknown type, a zero length, a payload that runs
// past the end of the data, a compressed block claiming more than its data can expand to,
// or a total above kMaxMemberSize. So no buffer is ever sized from a claim its data cannot
// back.
std::optional<BlockStreamInfo> ScanBlockStream(InputStream& in);

// Decodes a block stream from the current position into `out`, which must already have the
// size the scan found. Diagnostics go to standard error through the process's services,
// prefixed with the program's name. Fails on any framing or LZF error, and when the blocks
// would produce more or fewer bytes than `out` holds.
class BlockDecoder {
 public:
  BlockDecoder();
  bool Decode(InputStream& in, std::vector<uint8_t>& out);

 private:
  bool Fail(const char* message);

  // Payload of one block: 65535 bytes plus room for the header bytes read ahead.
  std::vector<uint8_t> block_;
};

}  // namespace cva
