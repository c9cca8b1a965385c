#include "converter/pe/pe_image.h"

#include <algorithm>
#include <cstring>

#include "converter/pe/byte_io.h"
#include "converter/pe/resource_directory.h"

namespace cva::pe {
namespace {

constexpr size_t kSectionHeaderSize = 40;
constexpr size_t kMaxSections = 96;
constexpr size_t kCertificateDirectory = 4;
constexpr size_t kResourceDirectory = 2;
constexpr size_t kRelocationDirectory = 5;
constexpr uint32_t kInitialisedReadable = 0x40000040;

bool IsPowerOfTwo(uint32_t value) {
  return value != 0 && (value & (value - 1)) == 0;
}

}  // namespace

bool PeImage::Fail(std::string reason) {
  error_ = std::move(reason);
  return false;
}

bool PeImage::Parse(std::vector<uint8_t> bytes) {
  bytes_ = std::move(bytes);
  sections_.clear();
  const ByteView view(bytes_);
  uint16_t mz = 0;
  if (!view.Read16(0, mz) || mz != 0x5A4D) return Fail("not a Windows program (no MZ header)");
  uint32_t pe_offset = 0, signature = 0;
  if (!view.Read32(0x3C, pe_offset) || !view.Read32(pe_offset, signature) ||
      !view.Has(pe_offset, 24))
    return Fail("the PE header lies outside the file");
  if (signature != 0x4550) return Fail("not a Windows program (no PE signature)");
  coff_ = size_t{pe_offset} + 4;
  uint16_t section_count = 0, optional_size = 0, magic = 0;
  view.Read16(coff_ + 2, section_count);
  view.Read16(coff_ + 16, optional_size);
  optional_ = coff_ + 20;
  if (!view.Has(optional_, optional_size) || !view.Read16(optional_, magic))
    return Fail("the optional header lies outside the file");
  if (magic != 0x10B && magic != 0x20B) return Fail("unknown optional header kind");
  directories_ = optional_ + (magic == 0x20B ? 112 : 96);
  const size_t optional_end = optional_ + optional_size;
  if (directories_ > optional_end) return Fail("the optional header is too short");
  view.Read32(directories_ - 4, directory_count_);
  directory_count_ =
      static_cast<uint32_t>(std::min<size_t>(directory_count_, (optional_end - directories_) / 8));
  if (directory_count_ <= kRelocationDirectory)
    return Fail("the optional header has no resource directory");
  view.Read32(optional_ + 32, section_alignment_);
  view.Read32(optional_ + 36, file_alignment_);
  view.Read32(optional_ + 60, size_of_headers_);
  if (!IsPowerOfTwo(file_alignment_) || file_alignment_ < 16 || file_alignment_ > 0x10000 ||
      !IsPowerOfTwo(section_alignment_) || section_alignment_ < file_alignment_)
    return Fail("the section or file alignment is invalid");
  if (size_of_headers_ > bytes_.size()) return Fail("the headers are larger than the file");

  section_table_ = optional_end;
  if (section_count == 0 || section_count > kMaxSections)
    return Fail("the section count is out of range");
  if (!view.Has(section_table_, section_count * kSectionHeaderSize))
    return Fail("the section table lies outside the file");
  uint64_t previous_end = 0;
  for (size_t i = 0; i < section_count; ++i) {
    Section s;
    const size_t at = section_table_ + i * kSectionHeaderSize;
    std::memcpy(s.header, bytes_.data() + at, kSectionHeaderSize);
    view.Read32(at + 8, s.virtual_size);
    view.Read32(at + 12, s.virtual_address);
    view.Read32(at + 16, s.raw_size);
    view.Read32(at + 20, s.raw_pointer);
    if (s.raw_size != 0 && !view.Has(s.raw_pointer, s.raw_size))
      return Fail("a section's data lies outside the file");
    if (s.virtual_address < previous_end)
      return Fail("the sections overlap or are not in address order");
    previous_end = uint64_t{s.virtual_address} + s.Extent();
    if (previous_end > 0xFFFFFFFFu) return Fail("a section lies beyond the 4 GiB image");
    sections_.push_back(s);
  }
  return true;
}

PeImage::Directory PeImage::ReadDirectory(size_t index) const {
  Directory d;
  const ByteView view(bytes_);
  view.Read32(directories_ + index * 8, d.rva);
  view.Read32(directories_ + index * 8 + 4, d.size);
  return d;
}

bool PeImage::ReadResources(ResourceTree& tree) {
  tree.clear();
  const Directory resources = ReadDirectory(kResourceDirectory);
  if (resources.rva == 0) return true;
  RvaBytes data = [this](uint32_t rva, uint32_t size) -> std::optional<std::span<const uint8_t>> {
    for (const Section& s : sections_) {
      if (rva < s.virtual_address) continue;
      const uint64_t offset = uint64_t{rva} - s.virtual_address;
      if (offset + size > s.raw_size) continue;
      return std::span<const uint8_t>(bytes_).subspan(s.raw_pointer + offset, size);
    }
    return std::nullopt;
  };
  for (const Section& s : sections_) {
    if (resources.rva < s.virtual_address || resources.rva - s.virtual_address >= s.raw_size)
      continue;
    const uint32_t offset = resources.rva - s.virtual_address;
    const auto directory =
        std::span<const uint8_t>(bytes_).subspan(s.raw_pointer + offset, s.raw_size - offset);
    return ReadResourceDirectory(directory, data, bytes_.size(), tree, error_);
  }
  return Fail("the resource directory lies outside the program's sections");
}

// Only the base relocations follow section `index`, and no data directory but theirs points
// behind its start: the sections after it can move without changing what the program means.
bool PeImage::RelocationsOnlyAfter(size_t index) const {
  const Directory relocations = ReadDirectory(kRelocationDirectory);
  for (size_t j = index + 1; j < sections_.size(); ++j)
    if (relocations.size == 0 || sections_[j].virtual_address != relocations.rva) return false;
  const uint32_t start = sections_[index].virtual_address;
  for (size_t d = 0; d < directory_count_; ++d) {
    if (d == kResourceDirectory || d == kRelocationDirectory || d == kCertificateDirectory)
      continue;
    const Directory other = ReadDirectory(d);
    if (other.size != 0 && other.rva >= start) return false;
  }
  return true;
}

// The file holds section `index` and those after it last, in order, so that they can be
// rewritten from its file position on.
bool PeImage::RawDataInOrderFrom(size_t index) const {
  const uint32_t start = sections_[index].raw_pointer;
  if (start < size_of_headers_ || start > bytes_.size()) return false;
  for (size_t i = 0; i < sections_.size(); ++i) {
    const Section& s = sections_[i];
    if (s.raw_size == 0) continue;
    if (i < index && uint64_t{s.raw_pointer} + s.raw_size > start) return false;
    if (i > index && s.raw_pointer < start) return false;
  }
  return true;
}

bool PeImage::WriteResources(const ResourceTree& tree) {
  if (ReadDirectory(kCertificateDirectory).size != 0)
    return Fail("the program is signed, and changing it would break the signature");
  size_t overlay_start = size_of_headers_;
  for (const Section& s : sections_)
    if (s.raw_size) overlay_start = std::max<size_t>(overlay_start, s.raw_pointer + s.raw_size);
  const auto overlay = std::span<const uint8_t>(bytes_).subspan(overlay_start);

  const Directory old_resources = ReadDirectory(kResourceDirectory);
  std::optional<size_t> index;
  for (size_t i = 0; i < sections_.size(); ++i)
    if (old_resources.rva != 0 && sections_[i].virtual_address == old_resources.rva) index = i;

  // The rewrite copies the headers from before the resource section's data: data that starts
  // inside the section table (a raw pointer of 0, say) would leave no room to write it.
  const size_t table_end = section_table_ + sections_.size() * kSectionHeaderSize;
  if (index && sections_[*index].raw_size && sections_[*index].raw_pointer < table_end)
    return Fail("the resource section's data overlaps the program's headers");

  std::vector<Section> sections = sections_;
  std::vector<uint8_t> out;
  Directory resources;
  int64_t initialised_delta = 0;
  auto append_raw = [&](std::span<const uint8_t> data) {
    out.insert(out.end(), data.begin(), data.end());
    out.resize(AlignUp(out.size(), file_alignment_), 0);
  };

  if (index && RelocationsOnlyAfter(*index) && RawDataInOrderFrom(*index)) {
    // Rewrite from the resource section on: it grows or shrinks, the relocations move.
    Section& r = sections[*index];
    const std::vector<uint8_t> blob = WriteResourceDirectory(tree, r.virtual_address);
    out.assign(bytes_.begin(), bytes_.begin() + r.raw_pointer);
    initialised_delta = int64_t(AlignUp(blob.size(), file_alignment_)) - int64_t(r.raw_size);
    r.virtual_size = static_cast<uint32_t>(blob.size());
    r.raw_size = static_cast<uint32_t>(AlignUp(blob.size(), file_alignment_));
    append_raw(blob);
    resources = {r.virtual_address, r.virtual_size};
    for (size_t j = *index + 1; j < sections.size(); ++j) {
      const Section& old = sections_[j];
      Section& moved = sections[j];
      moved.virtual_address = static_cast<uint32_t>(
          AlignUp(uint64_t{sections[j - 1].virtual_address} + sections[j - 1].Extent(),
                  section_alignment_));
      moved.raw_pointer = old.raw_size ? static_cast<uint32_t>(out.size()) : 0;
      if (old.raw_size)
        append_raw(std::span<const uint8_t>(bytes_).subspan(old.raw_pointer, old.raw_size));
    }
  } else {
    std::vector<uint8_t> blob;
    if (index) blob = WriteResourceDirectory(tree, sections[*index].virtual_address);
    const bool last = index && *index + 1 == sections.size();
    if (index && blob.size() <= sections[*index].raw_size &&
        (last || blob.size() <= uint64_t{sections[*index + 1].virtual_address} -
                                    sections[*index].virtual_address)) {
      // The new directory fits where the old one was.
      Section& r = sections[*index];
      out.assign(bytes_.begin(), bytes_.begin() + overlay_start);
      std::fill_n(out.begin() + r.raw_pointer, r.raw_size, 0);
      std::copy(blob.begin(), blob.end(), out.begin() + r.raw_pointer);
      r.virtual_size = static_cast<uint32_t>(blob.size());
      resources = {r.virtual_address, r.virtual_size};
    } else {
      // A new last section; the old one (if any) stays where other sections depend on it.
      const size_t grown_table_end = table_end + kSectionHeaderSize;
      uint64_t first_raw = size_of_headers_;
      for (const Section& s : sections)
        if (s.raw_size) first_raw = std::min<uint64_t>(first_raw, s.raw_pointer);
      if (grown_table_end > first_raw)
        return Fail("the headers have no room for another section, and the resources do not fit");
      Section added{};
      std::memcpy(added.header, ".rsrc\0\0\0", 8);
      for (int b = 0; b < 4; ++b)
        added.header[36 + b] = static_cast<uint8_t>(kInitialisedReadable >> (8 * b));
      const Section& tail = sections.back();
      added.virtual_address = static_cast<uint32_t>(
          AlignUp(uint64_t{tail.virtual_address} + tail.Extent(), section_alignment_));
      blob = WriteResourceDirectory(tree, added.virtual_address);
      out.assign(bytes_.begin(), bytes_.begin() + overlay_start);
      out.resize(AlignUp(out.size(), file_alignment_), 0);
      added.raw_pointer = static_cast<uint32_t>(out.size());
      added.virtual_size = static_cast<uint32_t>(blob.size());
      added.raw_size = static_cast<uint32_t>(AlignUp(blob.size(), file_alignment_));
      initialised_delta = added.raw_size;
      append_raw(blob);
      sections.push_back(added);
      resources = {added.virtual_address, added.virtual_size};
    }
  }
  if (out.size() < section_table_ + sections.size() * kSectionHeaderSize)
    return Fail("the program's headers end before its section table");
  const size_t new_overlay_start = out.size();
  out.insert(out.end(), overlay.begin(), overlay.end());
  if (uint64_t{sections.back().virtual_address} + sections.back().Extent() > 0xFFFFFFFFu)
    return Fail("the resources do not fit in a 4 GiB image");
  FinishHeaders(out, sections, resources, initialised_delta, overlay_start, new_overlay_start);
  PeImage check;
  if (!check.Parse(out)) return Fail("the rewritten program does not parse: " + check.error());
  *this = std::move(check);
  return true;
}

void PeImage::FinishHeaders(std::vector<uint8_t>& out, std::vector<Section>& sections,
                            const Directory& resources, int64_t initialised_delta,
                            size_t old_overlay_start, size_t new_overlay_start) const {
  const ByteView view(bytes_);
  for (size_t i = 0; i < sections.size(); ++i) {
    Section& s = sections[i];
    const size_t at = section_table_ + i * kSectionHeaderSize;
    std::memcpy(out.data() + at, s.header, kSectionHeaderSize);
    Put32(out, at + 8, s.virtual_size);
    Put32(out, at + 12, s.virtual_address);
    Put32(out, at + 16, s.raw_size);
    Put32(out, at + 20, s.raw_pointer);
  }
  Put16(out, coff_ + 2, static_cast<uint16_t>(sections.size()));
  // A symbol table after the sections moves with the rest of the file's tail.
  uint32_t symbols = 0;
  view.Read32(coff_ + 8, symbols);
  if (symbols != 0 && symbols >= old_overlay_start)
    Put32(out, coff_ + 8, static_cast<uint32_t>(symbols - old_overlay_start + new_overlay_start));
  uint32_t initialised = 0;
  view.Read32(optional_ + 8, initialised);
  Put32(out, optional_ + 8, static_cast<uint32_t>(int64_t{initialised} + initialised_delta));
  const Section& tail = sections.back();
  Put32(out, optional_ + 56,
        static_cast<uint32_t>(
            AlignUp(uint64_t{tail.virtual_address} + tail.Extent(), section_alignment_)));
  Put32(out, directories_ + kResourceDirectory * 8, resources.rva);
  Put32(out, directories_ + kResourceDirectory * 8 + 4, resources.size);
  const Directory relocations = ReadDirectory(kRelocationDirectory);
  for (size_t i = 0; i < sections_.size(); ++i)
    if (relocations.size != 0 && sections_[i].virtual_address == relocations.rva)
      Put32(out, directories_ + kRelocationDirectory * 8, sections[i].virtual_address);
  Put32(out, optional_ + 64, PeChecksum(out, optional_ + 64));
}

uint32_t PeChecksum(const std::vector<uint8_t>& bytes, size_t checksum_offset) {
  uint64_t sum = 0;
  for (size_t i = 0; i < bytes.size(); i += 2) {
    uint32_t word = bytes[i];
    if (i + 1 < bytes.size()) word |= uint32_t{bytes[i + 1]} << 8;
    // The checksum field itself counts as zero, wherever it starts.
    for (size_t b = 0; b < 2; ++b) {
      const size_t at = i + b;
      if (at >= checksum_offset && at < checksum_offset + 4) word &= b ? 0x00FF : 0xFF00;
    }
    sum += word;
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<uint32_t>(sum + bytes.size());
}

}  // namespace cva::pe
