#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace cva::testing {

// WAV files built chunk by chunk, for the sound tests.

inline void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A chunk: identifier, size, body, and the pad byte an odd size needs.
inline std::vector<uint8_t> Chunk(const std::string& id, const std::vector<uint8_t>& body,
                                  uint32_t stated_size = UINT32_MAX) {
  std::vector<uint8_t> out(id.begin(), id.end());
  PutLe(out, stated_size == UINT32_MAX ? static_cast<uint32_t>(body.size()) : stated_size, 4);
  out.insert(out.end(), body.begin(), body.end());
  if (body.size() % 2) out.push_back(0);
  return out;
}

inline std::vector<uint8_t> Fmt(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t tag = 1,
                                int block_align = -1) {
  const uint16_t block =
      block_align >= 0 ? static_cast<uint16_t>(block_align) : channels * bits / 8;
  std::vector<uint8_t> body;
  PutLe(body, tag, 2);
  PutLe(body, channels, 2);
  PutLe(body, rate, 4);
  PutLe(body, rate * block, 4);
  PutLe(body, block, 2);
  PutLe(body, bits, 2);
  return Chunk("fmt ", body);
}

inline std::vector<uint8_t> Riff(const std::vector<std::vector<uint8_t>>& chunks) {
  std::vector<uint8_t> body{'W', 'A', 'V', 'E'};
  for (const auto& chunk : chunks) body.insert(body.end(), chunk.begin(), chunk.end());
  std::vector<uint8_t> out{'R', 'I', 'F', 'F'};
  PutLe(out, static_cast<uint32_t>(body.size()), 4);
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

// `count` sample bytes that never repeat within 251 bytes and never look like silence for
// long, so a misplaced byte shows.
inline std::vector<uint8_t> Pattern(size_t count, uint32_t seed = 1) {
  std::vector<uint8_t> out(count);
  for (size_t i = 0; i < count; ++i) out[i] = static_cast<uint8_t>(1 + (i * 7 + seed) % 251);
  return out;
}

inline std::vector<uint8_t> Tail(const std::vector<uint8_t>& bytes, size_t from) {
  return std::vector<uint8_t>(bytes.begin() + static_cast<ptrdiff_t>(from), bytes.end());
}

// `bytes` repeated until `count` bytes are there.
inline std::vector<uint8_t> Repeated(const std::vector<uint8_t>& bytes, size_t count) {
  std::vector<uint8_t> out;
  while (out.size() < count) out.insert(out.end(), bytes.begin(), bytes.end());
  out.resize(count);
  return out;
}

}  // namespace cva::testing
