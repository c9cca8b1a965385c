#pragma once

#include <cstdint>
#include <vector>

#include "stream/stream_reader.h"

namespace cva {

// Reads a growable byte buffer it does not own (a decoded archive member or a file).
// Every read checks its index against the buffer's current size.
class BufferReader final : public StreamReader {
 public:
  explicit BufferReader(const std::vector<uint8_t>& buffer) : buffer_(buffer) {}

  uint8_t ReadByte() override {
    if (position_ >= buffer_.size()) {
      MarkFailed();
      return 0;
    }
    return buffer_[position_++];
  }
  uint32_t position() const override { return position_; }
  uint32_t remaining() const override {
    return position_ < buffer_.size() ? static_cast<uint32_t>(buffer_.size() - position_) : 0;
  }

 private:
  const std::vector<uint8_t>& buffer_;
  uint32_t position_ = 0;
};

}  // namespace cva
