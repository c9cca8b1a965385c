#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace cva::pe {

// Little-endian fields of a program image. Reads are checked against the end of the bytes
// (a field that does not fit reads as absent); writes grow nothing and expect a checked offset.
class ByteView {
 public:
  explicit ByteView(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  size_t size() const { return bytes_.size(); }
  bool Has(size_t offset, size_t count) const {
    return offset <= bytes_.size() && count <= bytes_.size() - offset;
  }
  bool Read16(size_t offset, uint16_t& value) const {
    if (!Has(offset, 2)) return false;
    value = static_cast<uint16_t>(bytes_[offset] | bytes_[offset + 1] << 8);
    return true;
  }
  bool Read32(size_t offset, uint32_t& value) const {
    if (!Has(offset, 4)) return false;
    value = static_cast<uint32_t>(bytes_[offset]) | static_cast<uint32_t>(bytes_[offset + 1]) << 8 |
            static_cast<uint32_t>(bytes_[offset + 2]) << 16 |
            static_cast<uint32_t>(bytes_[offset + 3]) << 24;
    return true;
  }
  std::span<const uint8_t> Slice(size_t offset, size_t count) const {
    return bytes_.subspan(offset, count);
  }

 private:
  std::span<const uint8_t> bytes_;
};

inline void Put16(std::vector<uint8_t>& out, size_t offset, uint16_t value) {
  out[offset] = static_cast<uint8_t>(value);
  out[offset + 1] = static_cast<uint8_t>(value >> 8);
}

inline void Put32(std::vector<uint8_t>& out, size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

// `value` rounded up to a multiple of `alignment` (a power of two).
inline uint64_t AlignUp(uint64_t value, uint32_t alignment) {
  return (value + alignment - 1) & ~static_cast<uint64_t>(alignment - 1);
}

}  // namespace cva::pe
