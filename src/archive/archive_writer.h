#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace cva {

// Writes an `lzp` archive: members go to a temporary file (the archive path followed by
// ".tmp") one block at a time; Finish writes the header with the members' absolute offsets
// and copies the members after it, then removes the temporary file.
class ArchiveWriter {
 public:
  enum class AddResult {
    kAdded,
    kSkipped,  // the file could not be opened: no trace of it is left in the archive
    kFailed,   // reading the file or writing the member failed
  };

  ArchiveWriter();
  ~ArchiveWriter();
  ArchiveWriter(const ArchiveWriter&) = delete;
  ArchiveWriter& operator=(const ArchiveWriter&) = delete;

  // Opens the temporary member file. False when it cannot be created.
  bool Open(const std::string& archive_path);
  // Appends a member called `name` holding the bytes of `file_path` (by default the file
  // named `name`, relative to the current directory).
  AddResult Add(std::string_view name);
  AddResult Add(std::string_view name, const std::string& file_path);
  // Writes the archive and removes the temporary file. False on any write error, or when
  // the members no longer fit the 32-bit offsets of the table.
  bool Finish();

  // A sentence describing the last failure, for tools to print.
  const std::string& error() const { return error_; }
  size_t member_count() const { return offsets_.size(); }

 private:
  void WriteBlock(const uint8_t* data, size_t n);
  bool Fail(std::string message);

  std::string path_;
  std::string temp_path_;
  std::FILE* members_ = nullptr;
  std::vector<uint64_t> offsets_;
  uint64_t written_ = 0;
  std::vector<uint8_t> input_;
  std::vector<uint8_t> output_;
  std::string error_;
};

}  // namespace cva
