#pragma once

#include <cstdint>
#include <span>

#include "stream/stream_reader.h"

namespace cva {

// Reads a byte range it does not own (a resource of the loaded module, for instance).
class MemoryReader final : public StreamReader {
 public:
  MemoryReader(const uint8_t* data, uint32_t size) : data_(data), size_(data ? size : 0) {}
  explicit MemoryReader(std::span<const uint8_t> bytes)
      : MemoryReader(bytes.data(), static_cast<uint32_t>(bytes.size())) {}

  uint8_t ReadByte() override {
    if (position_ >= size_) {
      MarkFailed();
      return 0;
    }
    return data_[position_++];
  }
  uint32_t position() const override { return position_; }
  uint32_t remaining() const override { return position_ < size_ ? size_ - position_ : 0; }

 private:
  const uint8_t* data_;
  uint32_t size_;
  uint32_t position_ = 0;
};

}  // namespace cva
