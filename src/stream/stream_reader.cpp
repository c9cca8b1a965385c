#include "stream/stream_reader.h"

#include <bit>
#include <vector>

namespace cva {

bool StreamReader::ReadBool() {
  return ReadByte() == 1;
}

int16_t StreamReader::ReadShort() {
  const uint16_t lo = ReadByte();
  const uint16_t hi = ReadByte();
  return static_cast<int16_t>(lo | (hi << 8));
}

int32_t StreamReader::ReadInt() {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(ReadByte()) << (8 * i);
  return static_cast<int32_t>(v);
}

float StreamReader::ReadFloat() {
  return std::bit_cast<float>(ReadInt());
}

EncodedText StreamReader::ReadText() {
  const int16_t length = ReadShort();
  if (length <= 0) return EncodedText();
  const int32_t encoding = ReadByte();
  // The length is at most 32767, so this allocation is bounded whatever the data says.
  std::vector<uint8_t> bytes;
  bytes.reserve(static_cast<size_t>(length) < remaining() ? length : remaining());
  for (int i = 0; i < length; ++i) {
    const uint8_t b = ReadByte();
    if (failed()) break;
    bytes.push_back(b);
  }
  return EncodedText(encoding, bytes);
}

}  // namespace cva
