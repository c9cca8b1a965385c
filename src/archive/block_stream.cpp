#include "archive/block_stream.h"

#include <lzf.h>

#include <cstring>
#include <string>

#include "system/services.h"

namespace cva {
namespace {

constexpr uint8_t kMagic0 = 'Z';
constexpr uint8_t kMagic1 = 'V';
constexpr uint8_t kStored = 0;
constexpr uint8_t kCompressed = 1;
constexpr size_t kHeaderArea = 7;
constexpr size_t kBlockBuffer = kMaxBlockSize + kHeaderArea + 16;

uint32_t BigEndian16(const uint8_t* p) {
  return (static_cast<uint32_t>(p[0]) << 8) | p[1];
}

}  // namespace

std::optional<BlockStreamInfo> ScanBlockStream(InputStream& in) {
  BlockStreamInfo info;
  for (;;) {
    uint8_t h[5];
    const size_t got = in.Read(h, 3);
    if (got == 0 || h[0] == 0) return info;
    if (got < 3 || h[0] != kMagic0 || h[1] != kMagic1) return std::nullopt;
    uint32_t skip = 0;
    uint32_t size = 0;
    if (h[2] == kStored) {
      if (in.Read(h + 3, 2) != 2) return std::nullopt;
      size = skip = BigEndian16(h + 3);
    } else if (h[2] == kCompressed) {
      if (in.Read(h + 3, 2) != 2) return std::nullopt;
      skip = BigEndian16(h + 3);
      if (in.Read(h, 2) != 2) return std::nullopt;
      size = BigEndian16(h);
      if (size > skip * kMaxLzfExpansion) return std::nullopt;
    } else {
      return std::nullopt;
    }
    if (skip == 0) return std::nullopt;
    // The payload must be present: a truncated block cannot claim its length.
    if (in.Size() - in.Tell() < skip || !in.Seek(in.Tell() + skip)) return std::nullopt;
    info.size += size;
    ++info.blocks;
    if (info.size > kMaxMemberSize) return std::nullopt;
  }
}

BlockDecoder::BlockDecoder() : block_(kBlockBuffer) {}

bool BlockDecoder::Fail(const char* message) {
  SystemServices().ErrorOutput(ProgramName() + ": " + message + "\n");
  return false;
}

bool BlockDecoder::Decode(InputStream& in, std::vector<uint8_t>& out) {
  uint8_t header[kHeaderArea];
  size_t carry = 0;  // header bytes read ahead by the previous round
  size_t written = 0;
  for (;;) {
    const size_t available = in.Read(header + carry, kHeaderArea - carry) + carry;
    carry = 0;
    if (available == 0 || header[0] == 0) break;
    if (available < 5 || header[0] != kMagic0 || header[1] != kMagic1)
      return Fail("invalid data stream - magic not found or short header");

    size_t header_size;
    size_t payload;
    size_t size;
    const uint8_t type = header[2];
    if (type == kStored) {
      header_size = 5;
      payload = size = BigEndian16(header + 3);
    } else if (type == kCompressed) {
      if (available < 7) return Fail("short data");
      header_size = 7;
      payload = BigEndian16(header + 3);
      size = BigEndian16(header + 5);
    } else {
      return Fail("unknown blocktype");
    }

    // Header-area bytes past the header already belong to the payload; any surplus (a stored
    // block shorter than two bytes) starts the next header.
    const size_t ahead = available - header_size;
    const size_t used = ahead < payload ? ahead : payload;
    std::memcpy(block_.data(), header + header_size, used);
    if (ahead > payload) {
      carry = ahead - payload;
      std::memmove(header, header + header_size + payload, carry);
    }
    if (in.Read(block_.data() + used, payload - used) != payload - used) return Fail("short data");

    if (size > out.size() - written) return Fail("data exceeds the member's scanned size");
    if (type == kStored) {
      if (size > 0) std::memcpy(out.data() + written, block_.data(), size);
    } else {
      // Decompress straight into the member's buffer; lzf_decompress checks both bounds.
      const unsigned int got =
          lzf_decompress(block_.data(), static_cast<unsigned int>(payload), out.data() + written,
                         static_cast<unsigned int>(size));
      if (got != size) return Fail("decompress: invalid stream - data corrupted");
    }
    written += size;
  }
  if (written != out.size()) return Fail("data shorter than the member's scanned size");
  return true;
}

}  // namespace cva
