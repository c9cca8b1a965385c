#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace cva {

// A seekable byte source for the archive reader: an in-memory range or a file.
class InputStream {
 public:
  virtual ~InputStream() = default;
  // Reads up to n bytes; fewer at the end of the data.
  virtual size_t Read(uint8_t* dst, size_t n) = 0;
  // Moves to an absolute position; false (position unchanged) beyond the end.
  virtual bool Seek(uint64_t position) = 0;
  virtual uint64_t Tell() const = 0;
  virtual uint64_t Size() const = 0;
};

// Reads bytes it does not own, in place.
class MemoryInputStream final : public InputStream {
 public:
  explicit MemoryInputStream(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  size_t Read(uint8_t* dst, size_t n) override;
  bool Seek(uint64_t position) override;
  uint64_t Tell() const override { return position_; }
  uint64_t Size() const override { return bytes_.size(); }
  // The bytes from the current position on (lets the table reader search names in place).
  std::span<const uint8_t> Rest() const { return bytes_.subspan(position_); }

 private:
  std::span<const uint8_t> bytes_;
  uint64_t position_ = 0;
};

// Reads a file opened in binary mode; closes it when destroyed.
class FileInputStream final : public InputStream {
 public:
  // Null when the file cannot be opened.
  static FileInputStream* Open(const std::string& path);
  ~FileInputStream() override;
  size_t Read(uint8_t* dst, size_t n) override;
  bool Seek(uint64_t position) override;
  uint64_t Tell() const override { return position_; }
  uint64_t Size() const override { return size_; }

 private:
  FileInputStream(std::FILE* file, uint64_t size) : file_(file), size_(size) {}
  std::FILE* file_;
  uint64_t size_;
  uint64_t position_ = 0;
};

}  // namespace cva
