#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "archive/block_stream.h"
#include "archive/input_stream.h"

namespace cva {

// Reader of the `lzp` container: the magic "lzp\0", a big-endian member count, a table of
// big-endian entry offsets, and at each entry a zero-terminated name followed by the
// member's block stream. Members are decoded anew on every open.
class LzpArchive {
 public:
  enum class SourceKind { kNone = 0, kFile = 1, kMemory = 3 };

  struct Entry {
    std::string name;
    uint64_t data_position;  // first byte after the name's zero
  };

  // Longest member name the table reader accepts; a longer one ends the table like an
  // unterminated name (file names are far shorter, and this bounds the work per entry).
  static constexpr size_t kMaxNameLength = 4096;

  LzpArchive() = default;
  LzpArchive(const LzpArchive&) = delete;
  LzpArchive& operator=(const LzpArchive&) = delete;

  // Reads bytes it does not own (they must outlive the archive or the next open).
  void OpenMemory(std::span<const uint8_t> bytes);
  // False when the file cannot be opened (the archive is then empty).
  bool OpenFile(const std::string& path);
  void Close();

  SourceKind source_kind() const { return source_kind_; }
  bool has_magic() const { return has_magic_; }
  // The count as stored (negative counts read as 0).
  int32_t member_count() const { return member_count_; }
  // False when the table ended early at a bad entry; the entries before it stay usable.
  bool table_complete() const { return table_complete_; }
  // Entries in table order, duplicates included.
  const std::vector<Entry>& entries() const { return entries_; }

  // True when the member exists and decodes without error; `out` then holds exactly its
  // bytes. The name is matched byte for byte; the first member of a name wins.
  bool OpenMember(std::string_view name, std::vector<uint8_t>& out);
  // Size and block count of a member's stream, from its headers only.
  std::optional<BlockStreamInfo> ScanMember(std::string_view name);

 private:
  void ReadTable();
  bool ReadName(std::string& name);
  const uint64_t* Find(std::string_view name) const;

  SourceKind source_kind_ = SourceKind::kNone;
  std::unique_ptr<InputStream> stream_;
  bool has_magic_ = false;
  int32_t member_count_ = 0;
  bool table_complete_ = false;
  std::vector<Entry> entries_;
  std::map<std::string, uint64_t, std::less<>> index_;
  BlockDecoder decoder_;
};

}  // namespace cva
