#include "archive/lzp_archive.h"

#include <cstring>

namespace cva {
namespace {

constexpr uint8_t kMagic[4] = {'l', 'z', 'p', 0};

bool ReadBigEndian32(InputStream& in, uint32_t& value) {
  uint8_t b[4];
  if (in.Read(b, 4) != 4) return false;
  value = (static_cast<uint32_t>(b[0]) << 24) | (static_cast<uint32_t>(b[1]) << 16) |
          (static_cast<uint32_t>(b[2]) << 8) | b[3];
  return true;
}

}  // namespace

void LzpArchive::OpenMemory(std::span<const uint8_t> bytes) {
  Close();
  stream_ = std::make_unique<MemoryInputStream>(bytes);
  source_kind_ = SourceKind::kMemory;
  ReadTable();
}

bool LzpArchive::OpenFile(const std::string& path) {
  Close();
  stream_.reset(FileInputStream::Open(path));
  if (!stream_) return false;
  source_kind_ = SourceKind::kFile;
  ReadTable();
  return true;
}

void LzpArchive::Close() {
  stream_.reset();
  source_kind_ = SourceKind::kNone;
  has_magic_ = false;
  member_count_ = 0;
  table_complete_ = false;
  entries_.clear();
  index_.clear();
}

bool LzpArchive::ReadName(std::string& name) {
  name.clear();
  // In memory the name is searched in place; a file is read in small chunks.
  if (auto* memory = dynamic_cast<MemoryInputStream*>(stream_.get())) {
    std::span<const uint8_t> rest = memory->Rest();
    const size_t limit = rest.size() < kMaxNameLength + 1 ? rest.size() : kMaxNameLength + 1;
    const void* zero = std::memchr(rest.data(), 0, limit);
    if (!zero) return false;
    const size_t n = static_cast<const uint8_t*>(zero) - rest.data();
    name.assign(reinterpret_cast<const char*>(rest.data()), n);
    return memory->Seek(memory->Tell() + n + 1);
  }
  uint8_t chunk[256];
  while (name.size() <= kMaxNameLength) {
    const uint64_t start = stream_->Tell();
    const size_t got = stream_->Read(chunk, sizeof chunk);
    if (got == 0) return false;
    const void* zero = std::memchr(chunk, 0, got);
    if (zero) {
      const size_t n = static_cast<const uint8_t*>(zero) - chunk;
      name.append(reinterpret_cast<const char*>(chunk), n);
      return name.size() <= kMaxNameLength && stream_->Seek(start + n + 1);
    }
    name.append(reinterpret_cast<const char*>(chunk), got);
  }
  return false;
}

void LzpArchive::ReadTable() {
  entries_.clear();
  index_.clear();
  member_count_ = 0;
  table_complete_ = false;
  if (!stream_) {
    source_kind_ = SourceKind::kNone;
    return;
  }
  uint8_t magic[4];
  has_magic_ = stream_->Read(magic, 4) == 4 && std::memcmp(magic, kMagic, 4) == 0;
  if (!has_magic_) return;
  uint32_t raw_count = 0;
  if (!ReadBigEndian32(*stream_, raw_count)) return;
  member_count_ = static_cast<int32_t>(raw_count) < 0 ? 0 : static_cast<int32_t>(raw_count);

  // Each entry needs its 4 table bytes, so a count the data cannot hold ends at the first
  // missing entry; nothing is reserved from the count.
  for (int32_t i = 0; i < member_count_; ++i) {
    uint32_t offset = 0;
    if (!ReadBigEndian32(*stream_, offset)) return;
    const uint64_t table_position = stream_->Tell();
    std::string name;
    if (!stream_->Seek(offset) || !ReadName(name)) return;
    const uint64_t data_position = stream_->Tell();
    index_.emplace(name, data_position);  // keeps the first member of a name
    entries_.push_back({std::move(name), data_position});
    if (!stream_->Seek(table_position)) return;
  }
  table_complete_ = true;
}

const uint64_t* LzpArchive::Find(std::string_view name) const {
  auto it = index_.find(name);
  return it == index_.end() ? nullptr : &it->second;
}

std::optional<BlockStreamInfo> LzpArchive::ScanMember(std::string_view name) {
  const uint64_t* position = Find(name);
  if (!position || !stream_->Seek(*position)) return std::nullopt;
  return ScanBlockStream(*stream_);
}

bool LzpArchive::OpenMember(std::string_view name, std::vector<uint8_t>& out) {
  out.clear();
  const std::optional<BlockStreamInfo> info = ScanMember(name);
  if (!info) return false;
  out.resize(info->size);
  if (!stream_->Seek(*Find(name)) || !decoder_.Decode(*stream_, out)) {
    out.clear();
    return false;
  }
  return true;
}

}  // namespace cva
