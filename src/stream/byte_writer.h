#pragma once

#include <bit>
#include <cstdint>
#include <vector>

namespace cva {

// Appends little-endian values: the writing counterpart of StreamReader.
class ByteWriter {
 public:
  void Byte(uint8_t v) { bytes_.push_back(v); }
  void Short(int16_t v) {
    const auto u = static_cast<uint16_t>(v);
    Byte(static_cast<uint8_t>(u));
    Byte(static_cast<uint8_t>(u >> 8));
  }
  void Int(int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) Byte(static_cast<uint8_t>(u >> (8 * i)));
  }
  void Float(float v) { Int(std::bit_cast<int32_t>(v)); }
  void Bytes(const std::vector<uint8_t>& b) { bytes_.insert(bytes_.end(), b.begin(), b.end()); }

  const std::vector<uint8_t>& bytes() const { return bytes_; }
  std::vector<uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace cva
