#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace cva {

// A file opened for reading at explicit offsets. Reads carry their own position, so one
// reader never depends on where another read left off.
class RandomAccessFile {
 public:
  virtual ~RandomAccessFile() = default;
  // The file's size in bytes when it was opened.
  virtual uint64_t Size() const = 0;
  // Reads up to `count` bytes at `offset` into `out`; returns how many were read (fewer at
  // the end of the file or on a read error, 0 past the end).
  virtual size_t ReadAt(uint64_t offset, uint8_t* out, size_t count) = 0;
};

// A "file" over bytes in memory that any number of readers may share.
class MemoryFile final : public RandomAccessFile {
 public:
  explicit MemoryFile(std::shared_ptr<const std::vector<uint8_t>> bytes)
      : bytes_(std::move(bytes)) {}

  uint64_t Size() const override { return bytes_->size(); }
  size_t ReadAt(uint64_t offset, uint8_t* out, size_t count) override;

 private:
  std::shared_ptr<const std::vector<uint8_t>> bytes_;
};

}  // namespace cva
