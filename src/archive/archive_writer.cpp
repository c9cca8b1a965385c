#include "archive/archive_writer.h"

#include <lzf.h>

#include <cerrno>
#include <cstring>

#include "archive/block_stream.h"

namespace cva {
namespace {

constexpr size_t kBlockHeader = 7;

void PutBigEndian32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v >> 24);
  p[1] = static_cast<uint8_t>(v >> 16);
  p[2] = static_cast<uint8_t>(v >> 8);
  p[3] = static_cast<uint8_t>(v);
}

std::string Reason() {
  return std::strerror(errno);
}

// Large stream buffers: members are written in many small pieces (a block at a time).
constexpr size_t kStreamBuffer = 1 << 20;

}  // namespace

ArchiveWriter::ArchiveWriter() : input_(kMaxBlockSize), output_(kBlockHeader + kMaxBlockSize) {}

ArchiveWriter::~ArchiveWriter() {
  if (members_) {
    std::fclose(members_);
    std::remove(temp_path_.c_str());
  }
}

bool ArchiveWriter::Fail(std::string message) {
  error_ = std::move(message);
  return false;
}

bool ArchiveWriter::Open(const std::string& archive_path) {
  if (members_) {
    std::fclose(members_);
    std::remove(temp_path_.c_str());
  }
  path_ = archive_path;
  temp_path_ = archive_path + ".tmp";
  offsets_.clear();
  written_ = 0;
  error_.clear();
  members_ = std::fopen(temp_path_.c_str(), "w+b");
  if (!members_) return Fail("cannot create '" + temp_path_ + "': " + Reason());
  std::setvbuf(members_, nullptr, _IOFBF, kStreamBuffer);
  return true;
}

// Compresses when that saves at least 4 bytes (inputs of 4 bytes or fewer may not grow),
// and stores the block otherwise.
void ArchiveWriter::WriteBlock(const uint8_t* data, size_t n) {
  uint8_t* out = output_.data();
  const unsigned int limit = static_cast<unsigned int>(n > 4 ? n - 4 : n);
  const unsigned int c =
      lzf_compress(data, static_cast<unsigned int>(n), out + kBlockHeader, limit);
  out[0] = 'Z';
  out[1] = 'V';
  size_t total;
  if (c > 0) {
    out[2] = 1;
    out[3] = static_cast<uint8_t>(c >> 8);
    out[4] = static_cast<uint8_t>(c);
    out[5] = static_cast<uint8_t>(n >> 8);
    out[6] = static_cast<uint8_t>(n);
    total = kBlockHeader + c;
  } else {
    out[2] = 0;
    out[3] = static_cast<uint8_t>(n >> 8);
    out[4] = static_cast<uint8_t>(n);
    std::memcpy(out + 5, data, n);
    total = 5 + n;
  }
  std::fwrite(out, 1, total, members_);
  written_ += total;
}

ArchiveWriter::AddResult ArchiveWriter::Add(std::string_view name) {
  return Add(name, std::string(name));
}

ArchiveWriter::AddResult ArchiveWriter::Add(std::string_view name, const std::string& file_path) {
  if (!members_) {
    Fail("the archive is not open");
    return AddResult::kFailed;
  }
  if (name.find('\0') != std::string_view::npos) {
    Fail("member name contains a zero byte");
    return AddResult::kFailed;
  }
  // The file is opened before anything is written, so a file that has vanished or is
  // locked leaves no nameless, unterminated member behind: it is skipped whole.
  std::FILE* in = std::fopen(file_path.c_str(), "rb");
  if (in) std::setvbuf(in, nullptr, _IONBF, 0);  // whole blocks are read straight through
  if (!in) {
    Fail("cannot open '" + file_path + "': " + Reason());
    return AddResult::kSkipped;
  }
  offsets_.push_back(written_);
  std::fwrite(name.data(), 1, name.size(), members_);
  std::fputc(0, members_);
  written_ += name.size() + 1;
  for (;;) {
    const size_t n = std::fread(input_.data(), 1, input_.size(), in);
    if (n == 0) break;
    WriteBlock(input_.data(), n);
  }
  const bool read_error = std::ferror(in) != 0;
  std::fclose(in);
  // The end mark is written even after a read error so the member stays delimited.
  std::fputc(0, members_);
  written_ += 1;
  if (read_error) {
    Fail("error while reading '" + file_path + "'");
    return AddResult::kFailed;
  }
  if (std::ferror(members_)) {
    Fail("cannot write '" + temp_path_ + "': " + Reason());
    return AddResult::kFailed;
  }
  return AddResult::kAdded;
}

bool ArchiveWriter::Finish() {
  if (!members_) return Fail("the archive is not open");
  // The temporary file is read back through the same stream, then closed and removed.
  struct TempCloser {
    std::FILE*& file;
    const std::string& path;
    ~TempCloser() {
      std::fclose(file);
      file = nullptr;
      std::remove(path.c_str());
    }
  } closer{members_, temp_path_};
  if (std::fflush(members_) != 0 || std::ferror(members_) || std::fseek(members_, 0, SEEK_SET))
    return Fail("cannot write '" + temp_path_ + "'");

  const uint64_t m = offsets_.size();
  const uint64_t header = 8 + 4 * m;
  if (header + written_ > 0xFFFFFFFFull)
    return Fail("the members do not fit the archive's 32-bit offsets");

  std::vector<uint8_t> head(header);
  std::memcpy(head.data(), "lzp", 4);
  PutBigEndian32(head.data() + 4, static_cast<uint32_t>(m));
  for (uint64_t i = 0; i < m; ++i)
    PutBigEndian32(head.data() + 8 + 4 * i, static_cast<uint32_t>(offsets_[i] + header));

  std::FILE* out = std::fopen(path_.c_str(), "wb");
  if (!out) return Fail("cannot create '" + path_ + "': " + Reason());
  std::setvbuf(out, nullptr, _IONBF, 0);  // the copy below writes large pieces itself
  bool ok = std::fwrite(head.data(), 1, head.size(), out) == head.size();
  std::vector<uint8_t> copy(kStreamBuffer);
  uint64_t copied = 0;
  while (ok) {
    const size_t n = std::fread(copy.data(), 1, copy.size(), members_);
    if (n == 0) break;
    ok = std::fwrite(copy.data(), 1, n, out) == n;
    copied += n;
  }
  ok = ok && !std::ferror(members_) && copied == written_;
  ok = (std::fclose(out) == 0) && ok;
  if (!ok) return Fail("cannot write '" + path_ + "'");
  return true;
}

}  // namespace cva
