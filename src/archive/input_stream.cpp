#include "archive/input_stream.h"

#include <cstring>

namespace cva {
namespace {

bool SeekFile(std::FILE* f, uint64_t position) {
#ifdef _WIN32
  return _fseeki64(f, static_cast<long long>(position), SEEK_SET) == 0;
#else
  return fseeko(f, static_cast<off_t>(position), SEEK_SET) == 0;
#endif
}

bool FileSize(std::FILE* f, uint64_t& size) {
#ifdef _WIN32
  if (_fseeki64(f, 0, SEEK_END) != 0) return false;
  const long long end = _ftelli64(f);
#else
  if (fseeko(f, 0, SEEK_END) != 0) return false;
  const off_t end = ftello(f);
#endif
  if (end < 0) return false;
  size = static_cast<uint64_t>(end);
  return SeekFile(f, 0);
}

}  // namespace

size_t MemoryInputStream::Read(uint8_t* dst, size_t n) {
  const uint64_t left = bytes_.size() - position_;
  const size_t count = n < left ? n : static_cast<size_t>(left);
  if (count > 0) std::memcpy(dst, bytes_.data() + position_, count);
  position_ += count;
  return count;
}

bool MemoryInputStream::Seek(uint64_t position) {
  if (position > bytes_.size()) return false;
  position_ = position;
  return true;
}

FileInputStream* FileInputStream::Open(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return nullptr;
  uint64_t size = 0;
  if (!FileSize(f, size)) {
    std::fclose(f);
    return nullptr;
  }
  return new FileInputStream(f, size);
}

FileInputStream::~FileInputStream() {
  std::fclose(file_);
}

size_t FileInputStream::Read(uint8_t* dst, size_t n) {
  const size_t got = std::fread(dst, 1, n, file_);
  position_ += got;
  if (got < n) std::clearerr(file_);  // a short read must not stick to later seeks
  return got;
}

bool FileInputStream::Seek(uint64_t position) {
  if (position > size_ || !SeekFile(file_, position)) return false;
  position_ = position;
  return true;
}

}  // namespace cva
