#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "converter/pe/resource_tree.h"

namespace cva::pe {

// A Windows program file (PE32 or PE32+) whose resources can be read and replaced without
// the Win32 resource-update calls. The bytes are treated as hostile: every header, table
// and offset is checked before use, and a file this editor cannot handle is refused with a
// reason instead of being half changed.
class PeImage {
 public:
  // Takes a program's bytes and checks its headers and section table.
  bool Parse(std::vector<uint8_t> bytes);
  // Every resource of the program (none when it has no resource directory).
  bool ReadResources(ResourceTree& tree);
  // Replaces the program's resources by `tree`: the resource section is rewritten in place
  // when it is the last one or only the base relocations follow it (they move behind it), or
  // when the new directory fits where the old one was; otherwise the directory goes into a
  // new last section. Section sizes, the image size, the initialised-data size, the data
  // directories, a symbol table after the sections and the checksum are fixed to match.
  bool WriteResources(const ResourceTree& tree);

  const std::vector<uint8_t>& bytes() const { return bytes_; }
  const std::string& error() const { return error_; }

 private:
  struct Section {
    uint8_t header[40];
    uint32_t virtual_size;
    uint32_t virtual_address;
    uint32_t raw_size;
    uint32_t raw_pointer;
    uint64_t Extent() const { return virtual_size ? virtual_size : raw_size; }
  };
  struct Directory {
    uint32_t rva = 0;
    uint32_t size = 0;
  };

  bool Fail(std::string reason);
  Directory ReadDirectory(size_t index) const;
  bool RelocationsOnlyAfter(size_t index) const;
  bool RawDataInOrderFrom(size_t index) const;
  // Writes `sections` and the header fields derived from them into `out`.
  void FinishHeaders(std::vector<uint8_t>& out, std::vector<Section>& sections,
                     const Directory& resources, int64_t initialised_delta,
                     size_t old_overlay_start, size_t new_overlay_start) const;

  std::vector<uint8_t> bytes_;
  std::vector<Section> sections_;
  std::string error_;
  size_t coff_ = 0;
  size_t optional_ = 0;
  size_t section_table_ = 0;
  size_t directories_ = 0;
  uint32_t directory_count_ = 0;
  uint32_t section_alignment_ = 0;
  uint32_t file_alignment_ = 0;
  uint32_t size_of_headers_ = 0;
};

// The checksum the loader checks for drivers and some system files: the file's 16-bit words
// summed with carries folded back, plus its length; the checksum field counts as zero.
uint32_t PeChecksum(const std::vector<uint8_t>& bytes, size_t checksum_offset);

}  // namespace cva::pe
